// The pictures that belong to the windows: built into the program.
#include "art.h"
#include "canvas.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

namespace {

// The deep-blue ground of the title band and the splash, with faint rings.
void blueGround(QPainter& p, const QRectF& r, bool vertical) {
    QLinearGradient g = vertical ? QLinearGradient(r.topLeft(), r.bottomRight())
                                 : QLinearGradient(r.topLeft(), r.topRight());
    g.setColorAt(0, palette::deep);
    g.setColorAt(1, palette::blue);
    p.fillRect(r, g);
    // A soft sheen on the upper half.
    QLinearGradient sheen(r.topLeft(), r.bottomLeft());
    sheen.setColorAt(0, QColor(255, 255, 255, 28));
    sheen.setColorAt(0.5, QColor(255, 255, 255, 0));
    p.fillRect(r, sheen);
}

void accentLine(QPainter& p, const QRectF& r) {
    QLinearGradient g(r.topLeft(), r.topRight());
    g.setColorAt(0, palette::amber);
    g.setColorAt(1, palette::orange);
    p.fillRect(r, g);
}

void ring(QPainter& p, const QPointF& c, qreal r, qreal width, int alpha) {
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(255, 255, 255, alpha), width));
    p.drawEllipse(c, r, r);
}

void disc(QPainter& p, const QPointF& c, qreal r, const QColor& colour) {
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawEllipse(c, r, r);
}

void centredText(QPainter& p, qreal centreX, qreal baseline, const QString& s, const QFont& font,
                 const QColor& colour) {
    text(p, QPointF(centreX - textWidth(s, font) / 2, baseline), s, font, colour);
}

} // namespace

void paintTitle(QPainter& p, const QSize& size) {
    const QRectF all(QPointF(0, 0), size);
    const qreal band = size.height() - 3;
    blueGround(p, all, false);
    disc(p, QPointF(size.width() - 70, -18), 58, QColor(255, 255, 255, 16));
    disc(p, QPointF(size.width() - 8, 44), 34, QColor(255, 255, 255, 12));
    ring(p, QPointF(size.width() - 150, 46), 20, 2, 22);
    accentLine(p, QRectF(0, band, size.width(), 3));

    const qreal tile = 36;
    logoTile(p, QRectF(12, (band - tile) / 2, tile, tile));

    const QFont name = artFont(29, QFont::Bold);
    const qreal baseline = band / 2 + 10;
    text(p, QPointF(58, baseline), QStringLiteral("Kivor"), name, Qt::white);
    const qreal after = 58 + textWidth(QStringLiteral("Kivor"), name) + 12;
    p.fillRect(QRectF(after, band / 2 - 11, 1.5, 22), QColor(255, 255, 255, 90));
    text(p, QPointF(after + 12, baseline - 2), QStringLiteral("тестове и обучение"),
         artFont(15, QFont::Normal, true), mix(palette::skyLight, palette::sky, 0.25));

    QFont maker = artFont(13, QFont::Bold);
    maker.setLetterSpacing(QFont::AbsoluteSpacing, 1.5);
    const QString tamrel = QStringLiteral("Tamrel");
    text(p, QPointF(size.width() - 16 - textWidth(tamrel, maker), baseline - 2), tamrel, maker,
         QColor(255, 255, 255, 200));
}

void paintSplash(QPainter& p, const QSize& size) {
    const QRectF all(QPointF(0, 0), size);
    const qreal w = size.width();
    blueGround(p, all, true);
    disc(p, QPointF(w - 20, 20), 70, QColor(255, 255, 255, 14));
    disc(p, QPointF(18, size.height() - 10), 50, QColor(255, 255, 255, 10));
    ring(p, QPointF(46, 40), 16, 2, 26);
    ring(p, QPointF(w - 40, size.height() - 50), 10, 2, 30);
    sparkle(p, QPointF(w - 62, 46), 6, QColor(255, 255, 255, 150));
    sparkle(p, QPointF(58, 128), 4, QColor(255, 255, 255, 110));
    accentLine(p, QRectF(0, size.height() - 5, w, 5));

    const qreal tile = 50;
    // The tile throws a faint shadow onto the blue.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 40, 50));
    p.drawPath(roundedRect(QRectF((w - tile) / 2 + 1, 25, tile, tile), tile * 0.24));
    logoTile(p, QRectF((w - tile) / 2, 22, tile, tile));

    QFont maker = artFont(13, QFont::Bold);
    maker.setLetterSpacing(QFont::AbsoluteSpacing, 3);
    centredText(p, w / 2, 98, QStringLiteral("TAMREL"), maker, mix(palette::sky, Qt::white, 0.35));
    centredText(p, w / 2, 138, QStringLiteral("Kivor 2"), artFont(40, QFont::Bold), Qt::white);
    centredText(p, w / 2, 160, QStringLiteral("версия 2.5"), artFont(14),
                QColor(255, 255, 255, 215));
    centredText(p, w / 2, 184, QStringLiteral("тестове и обучение"),
                artFont(12, QFont::Normal, true), mix(palette::sky, Qt::white, 0.45));
}

void paintAbout(QPainter& p, const QSize& size) {
    const qreal w = size.width();
    const qreal h = size.height();
    // Light on the left, where the window writes the name and the version.
    QLinearGradient g(0, 0, w, 0);
    g.setColorAt(0, palette::paper);
    g.setColorAt(0.45, mix(palette::paper, palette::skyLight, 0.5));
    g.setColorAt(1, palette::skyLight);
    p.fillRect(QRectF(0, 0, w, h), g);

    disc(p, QPointF(w - 34, 26), 74, mix(palette::skyLight, palette::sky, 0.22));
    disc(p, QPointF(w - 34, 26), 52, mix(palette::skyLight, palette::sky, 0.34));
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(mix(palette::skyLight, palette::sky, 0.4), 2));
    p.drawEllipse(QPointF(w - 126, 82), 9, 9);
    disc(p, QPointF(w - 150, 30), 4, mix(palette::skyLight, palette::sky, 0.45));
    sparkle(p, QPointF(w - 108, 26), 6, palette::amber);
    sparkle(p, QPointF(w - 20, 90), 4.5, mix(palette::amber, Qt::white, 0.2));

    const qreal tile = 48;
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(10, 30, 90, 40));
    p.drawPath(roundedRect(QRectF(w - 82 + 1, 22 + 3, tile, tile), tile * 0.24));
    logoTile(p, QRectF(w - 82, 22, tile, tile));

    QLinearGradient line(0, 0, w, 0);
    line.setColorAt(0, palette::blue);
    line.setColorAt(0.7, palette::sky);
    line.setColorAt(1, palette::amber);
    p.fillRect(QRectF(0, h - 3, w, 3), line);
}

void paintTestGlyph(QPainter& p, const QSize&) {
    // A test sheet with a green tick across it.
    QPainterPath sheet;
    sheet.moveTo(6, 2.5);
    sheet.lineTo(19.5, 2.5);
    sheet.lineTo(25.5, 8.5);
    sheet.lineTo(25.5, 29.5);
    sheet.lineTo(6, 29.5);
    sheet.closeSubpath();
    p.setPen(QPen(palette::blue, 1.4, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    p.setBrush(palette::paper);
    p.drawPath(sheet);
    QPainterPath fold;
    fold.moveTo(19.5, 2.5);
    fold.lineTo(19.5, 8.5);
    fold.lineTo(25.5, 8.5);
    p.setBrush(palette::skyLight);
    p.drawPath(fold);

    p.setPen(QPen(palette::steel, 1.6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(9.5, 8), QPointF(16.5, 8));
    p.drawLine(QPointF(9.5, 12.5), QPointF(22, 12.5));
    p.drawLine(QPointF(9.5, 17), QPointF(19, 17));

    tick(p, QPointF(12, 22.5), QPointF(17, 27.5), QPointF(29, 13.5), 6.2, palette::paper);
    tick(p, QPointF(12, 22.5), QPointF(17, 27.5), QPointF(29, 13.5), 3.4, palette::green);
}

void paintTutorGlyph(QPainter& p, const QSize&) {
    // An open book with a spark of insight above it.
    openBook(p, QRectF(2, 12, 28, 15), palette::blue, true);
    p.setPen(Qt::NoPen);
    p.setBrush(palette::amber);
    p.drawEllipse(QPointF(16, 6.5), 4.2, 4.2);
    p.setPen(QPen(palette::orange, 1.5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(16, 0.5), QPointF(16, 1.2));
    p.drawLine(QPointF(9.5, 3), QPointF(10.3, 3.6));
    p.drawLine(QPointF(22.5, 3), QPointF(21.7, 3.6));
    p.drawLine(QPointF(8, 8), QPointF(9, 8));
    p.drawLine(QPointF(24, 8), QPointF(23, 8));
}

void paintRemoveWord(QPainter& p, const QSize&) {
    const QColor edge = mix(palette::red, Qt::black, 0.25);
    for (const auto& [colour, width] : {std::pair{edge, 4.6}, std::pair{palette::red, 3.0}}) {
        p.setPen(QPen(colour, width, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(4.5, 4.5), QPointF(14.5, 14.5));
        p.drawLine(QPointF(14.5, 4.5), QPointF(4.5, 14.5));
    }
}

// Points from the term being joined towards the canvas: a short shaft and a
// head, in the navy of the window's links.
void paintArrow(QPainter& p, const QSize& size) {
    const qreal mid = size.height() / 2.0;
    QPainterPath head;
    head.moveTo(19, mid);
    head.lineTo(10, mid - 8);
    head.lineTo(10, mid + 8);
    head.closeSubpath();
    p.setPen(QPen(palette::navy, 4.0, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(2.5, mid), QPointF(12, mid));
    p.setPen(Qt::NoPen);
    p.setBrush(palette::navy);
    p.drawPath(head);
}
