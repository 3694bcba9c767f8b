#pragma once

#include <QStyledItemDelegate>

#include <functional>

namespace veldrane {

// Paints the rows of a skinned list: the row's background and selection as the style sheet
// gives them, then its text on one line, narrowed to the row's width (TextFitting) so that a
// long name is shown whole rather than cut. `shown` turns a row's stored text into the text shown.
class FittedItemDelegate : public QStyledItemDelegate
{
public:
    static constexpr int kTextIndent = 3;

    using ShownText = std::function<QString(const QString&)>;

    explicit FittedItemDelegate(QObject* parent, ShownText shown = {});

    // The text a row shows for its stored text.
    QString Shown(const QString& stored) const;

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    ShownText m_shown;
};

} // namespace veldrane
