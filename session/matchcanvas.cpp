#include "matchcanvas.h"

#include <QPainter>

namespace {

constexpr int kRowTops[MatchCanvas::kRows] = {10, 55, 100, 145, 190, 235, 280, 325, 370, 415};
// The panel's top edge in the coordinates of the rows.
constexpr int kCanvasTop = 10;

const QColor kRowColours[MatchCanvas::kRows] = {QColor(0x80, 0x00, 0x00), QColor(0x00, 0x80, 0x00),
                                                QColor(0x80, 0x80, 0x00), QColor(0x00, 0x00, 0x80),
                                                QColor(0x80, 0x00, 0x80), QColor(0x00, 0x80, 0x80),
                                                QColor(0x80, 0x80, 0x80), QColor(0xFF, 0x00, 0x00),
                                                QColor(0xFF, 0x00, 0xFF), QColor(0x00, 0x00, 0xFF)};

bool validRow(int row) {
    return row >= 1 && row <= MatchCanvas::kRows;
}

} // namespace

MatchCanvas::MatchCanvas(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

int MatchCanvas::rowTop(int row) {
    return validRow(row) ? kRowTops[row - 1] : 0;
}

QColor MatchCanvas::rowColour(int row) {
    return validRow(row) ? kRowColours[row - 1] : QColor(Qt::black);
}

QRect MatchCanvas::markerRect(Side side, int row, int width) {
    const int x = side == Left ? 0 : width - kMarkerWidth;
    return {x, rowTop(row) - kCanvasTop, kMarkerWidth, kMarkerHeight};
}

void MatchCanvas::fill() {
    m_left.fill(QColor());
    m_right.fill(QColor());
    update();
}

void MatchCanvas::drawMarker(Side side, int row, const QColor& colour) {
    if (!validRow(row))
        return;
    (side == Left ? m_left : m_right)[size_t(row - 1)] = colour;
    update();
}

void MatchCanvas::eraseMarker(Side side, int row) {
    drawMarker(side, row, QColor());
}

QColor MatchCanvas::marker(Side side, int row) const {
    return validRow(row) ? (side == Left ? m_left : m_right)[size_t(row - 1)] : QColor();
}

void MatchCanvas::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    p.setPen(QPen(Qt::black, 1));
    for (int row = 1; row <= kRows; ++row) {
        for (Side side : {Left, Right}) {
            const QColor c = marker(side, row);
            if (!c.isValid())
                continue;
            p.setBrush(c);
            // The outline lies on the rectangle's last pixels, as a filled and
            // outlined rectangle of this size is drawn.
            p.drawRect(markerRect(side, row, width()).adjusted(0, 0, -1, -1));
        }
    }
}

#include "moc_matchcanvas.cpp"
