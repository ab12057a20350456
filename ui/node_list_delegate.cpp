#include "ui/node_list_delegate.h"

#include "ui/main_unit.h"

#include <QPainter>

namespace vembra {

namespace {
constexpr int kItemHeight = 16;
}

void NodeListDelegate::paint(QPainter* p, const QStyleOptionViewItem& option,
                             const QModelIndex& index) const
{
    const int i = index.row();
    if (i < 0 || std::size_t(i) >= NodeList.size()) {
        QStyledItemDelegate::paint(p, option, index);
        return;
    }
    const TNodeListEntry& entry = NodeList[std::size_t(i)];
    const QRect r = option.rect;
    const bool selected = option.state.testFlag(QStyle::State_Selected);
    p->save();
    p->fillRect(r, option.palette.brush(selected ? QPalette::Highlight : QPalette::Base));
    p->setPen(option.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
    p->setFont(option.font);
    const QFontMetrics metrics(option.font);
    p->drawText(QPoint(r.left() + 2, r.bottom() + 1 - metrics.descent()), entry.Node);
    const int right = r.left() + r.width();
    if (entry.IVexelProbes)
        p->drawImage(right - FVexelIcon.width() - IVexelIcon.width() - 4, r.top() + 2, IVexelIcon);
    if (entry.FVexelProbes)
        p->drawImage(right - FVexelIcon.width() - 4, r.top() + 2, FVexelIcon);
    p->restore();
}

QSize NodeListDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    return QSize(QStyledItemDelegate::sizeHint(option, index).width(), kItemHeight);
}

} // namespace vembra
