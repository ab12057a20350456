#pragma once

#include <QStyledItemDelegate>

namespace vembra {

// Draws the items of the node list: the node's name (its first 30 characters) on the item's
// bottom edge, and the i-Vexel and f-Vexel icons at the right for nodes that have such probes.
class NodeListDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};

} // namespace vembra
