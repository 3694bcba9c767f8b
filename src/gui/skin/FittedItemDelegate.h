#pragma once

#include <QStyledItemDelegate>

#include <functional>

#include "gui/skin/TextFitting.h"

namespace veldrane {

// Paints the rows of a skinned list: the row's background and selection as the style sheet
// gives them, then its text on one line, narrowed to the row's width (TextFitting) so that a
// long name is shown whole where it can be; a name too long even then ends in "…" and shows
// whole as the row's tooltip. `shown` turns a row's stored text into the text shown.
class FittedItemDelegate : public QStyledItemDelegate
{
public:
    static constexpr int kTextIndent = 3;

    using ShownText = std::function<QString(const QString&)>;

    explicit FittedItemDelegate(QObject* parent, ShownText shown = {});

    // The text a row shows for its stored text.
    QString Shown(const QString& stored) const;

    // The text of a row as painted in `rowWidth` pixels, in the row's font.
    FittedText Fitted(const QString& stored, const QFont& font, int rowWidth) const;

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    bool helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                   const QModelIndex& index) override;

private:
    ShownText m_shown;
};

} // namespace veldrane
