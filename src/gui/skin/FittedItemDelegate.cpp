#include "gui/skin/FittedItemDelegate.h"

#include <QApplication>
#include <QPainter>

#include "gui/skin/TextFitting.h"

namespace veldrane {

FittedItemDelegate::FittedItemDelegate(QObject* parent, ShownText shown)
    : QStyledItemDelegate(parent), m_shown(std::move(shown))
{}

QString FittedItemDelegate::Shown(const QString& stored) const
{
    return m_shown ? m_shown(stored) : stored;
}

void FittedItemDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    QStyleOptionViewItem background = option;
    initStyleOption(&background, index);
    const QString text = Shown(background.text);
    background.text.clear();
    const QWidget* widget = option.widget;
    QStyle* style = widget ? widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &background, painter, widget);

    const QRect area = option.rect.adjusted(kTextIndent, 0, -kTextIndent, 0);
    // The row's own font and colour where its item has them (a struck-through line), else the list's.
    const FittedText fitted = FitText(background.font, text, area.width(), false);
    const bool selected = option.state.testFlag(QStyle::State_Selected);
    const QVariant foreground = index.data(Qt::ForegroundRole);
    painter->save();
    painter->setFont(fitted.font);
    // Selected rows are white on the skin's red, as the style sheet draws them.
    painter->setPen(selected                          ? QColor(Qt::white)
                    : foreground.canConvert<QBrush>() ? foreground.value<QBrush>().color()
                                                      : option.palette.color(QPalette::Text));
    painter->drawText(area, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, fitted.text);
    painter->restore();
}

} // namespace veldrane
