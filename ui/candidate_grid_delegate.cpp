#include "ui/candidate_grid_delegate.h"

#include "ui/window_colours.h"

#include <QPainter>

#include <cmath>

namespace vembra {

namespace {

void raisedEdges(QPainter* p, const QRect& r)
{
    // GDI rectangles end before their right and bottom edges.
    const int right = r.left() + r.width();
    const int bottom = r.top() + r.height();
    p->setPen(Qt::white);
    p->drawLine(r.left(), bottom, r.left(), r.top());
    p->drawLine(r.left(), r.top(), right, r.top());
    p->setPen(QColor(128, 128, 128));
    p->drawLine(r.left(), bottom - 1, right, bottom - 1);
    p->drawLine(right - 1, bottom, right - 1, r.top());
}

} // namespace

CandidateGridDelegate::CandidateGridDelegate(QObject* parent) : QStyledItemDelegate(parent) {}

void CandidateGridDelegate::paint(QPainter* p, const QStyleOptionViewItem& option,
                                  const QModelIndex& index) const
{
    const QRect r = option.rect;
    const QString text = index.data().toString();
    p->save();
    if (index.row() <= 0) {
        QFont font = option.font;
        font.setBold(true);
        p->setFont(font);
        p->fillRect(r, QColor(220, 220, 220));
        raisedEdges(p, r);
        p->setPen(navy());
        const QFontMetrics metrics(font);
        if (metrics.horizontalAdvance(text) < r.width())
            p->drawText(r, Qt::AlignCenter, text);
        else
            p->drawText(r, Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap, text);
        p->restore();
        return;
    }
    const QString code = index.sibling(index.row(), 0).data().toString();
    QFont font = option.font;
    font.setBold(code.isEmpty());
    p->setFont(font);
    QColor brush = buttonFaceColour();
    QColor pen = option.palette.color(QPalette::WindowText);
    if (!code.isEmpty() && option.state.testFlag(QStyle::State_Selected)) {
        brush = navy();
        pen = Qt::white;
    }
    p->fillRect(r, brush);
    raisedEdges(p, r);
    p->setPen(pen);
    const QFontMetrics metrics(font);
    const int dy = int(std::nearbyint((r.height() - metrics.height()) / 2.0));
    p->drawText(QRect(r.left() + 2, r.top() + dy, r.width() - 2, metrics.height()),
                Qt::AlignLeft | Qt::AlignVCenter, text);
    if (index.column() == 0 && !code.isEmpty() && probeIconFor && iVexelIcon && fVexelIcon) {
        const int kind = probeIconFor(code);
        const int right = r.left() + r.width();
        if (kind == 1)
            p->drawImage(right - fVexelIcon->width() - iVexelIcon->width(), r.top() + 2,
                         *iVexelIcon);
        else if (kind == 2)
            p->drawImage(right - fVexelIcon->width(), r.top() + 2, *fVexelIcon);
    }
    p->restore();
}

} // namespace vembra
