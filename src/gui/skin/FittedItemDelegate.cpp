#include "gui/skin/FittedItemDelegate.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QHelpEvent>
#include <QPainter>
#include <QToolTip>

#include <algorithm>

namespace veldrane {

FittedItemDelegate::FittedItemDelegate(QObject* parent, ShownText shown)
    : QStyledItemDelegate(parent), m_shown(std::move(shown))
{}

QString FittedItemDelegate::Shown(const QString& stored) const
{
    return m_shown ? m_shown(stored) : stored;
}

namespace {

// The width a row shows: a list lays out every row as wide as its widest text, which can be wider
// than the list, so the row is cut at the list's visible edge.
int VisibleRowWidth(const QStyleOptionViewItem& option)
{
    const auto* view = qobject_cast<const QAbstractItemView*>(option.widget);
    return view ? std::min(option.rect.width(), view->viewport()->width() - option.rect.left()) : option.rect.width();
}

} // namespace

FittedText FittedItemDelegate::Fitted(const QString& stored, const QFont& font, int rowWidth) const
{
    return FitText(font, Shown(stored), rowWidth - 2 * kTextIndent, true);
}

void FittedItemDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    QStyleOptionViewItem background = option;
    initStyleOption(&background, index);
    const QString stored = background.text;
    background.text.clear();
    const QWidget* widget = option.widget;
    QStyle* style = widget ? widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &background, painter, widget);

    const int width = VisibleRowWidth(option);
    const QRect area(option.rect.left() + kTextIndent, option.rect.top(), width - 2 * kTextIndent,
                     option.rect.height());
    // The row's own font and colour where its item has them (a struck-through line), else the list's.
    const FittedText fitted = Fitted(stored, background.font, width);
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

bool FittedItemDelegate::helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                                   const QModelIndex& index)
{
    if (event->type() != QEvent::ToolTip || !index.isValid()) {
        return QStyledItemDelegate::helpEvent(event, view, option, index);
    }
    QStyleOptionViewItem row = option;
    initStyleOption(&row, index);
    const FittedText fitted = Fitted(row.text, row.font, VisibleRowWidth(option));
    if (!fitted.elided) {
        QToolTip::hideText();
        return false;
    }
    QToolTip::showText(event->globalPos(), Shown(row.text), view, option.rect);
    return true;
}

} // namespace veldrane
