#include "canvas.h"

#include <QFontMetricsF>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QRandomGenerator>

#include <cmath>

QFont artFont(qreal pixelSize, QFont::Weight weight, bool italic) {
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(qRound(pixelSize));
    font.setWeight(weight);
    font.setItalic(italic);
    font.setStyleStrategy(QFont::PreferAntialias);
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

QColor mix(const QColor& a, const QColor& b, qreal t) {
    return QColor::fromRgbF(
        a.redF() + (b.redF() - a.redF()) * t, a.greenF() + (b.greenF() - a.greenF()) * t,
        a.blueF() + (b.blueF() - a.blueF()) * t, a.alphaF() + (b.alphaF() - a.alphaF()) * t);
}

QColor withAlpha(QColor c, int alpha) {
    c.setAlpha(alpha);
    return c;
}

void groundShadow(QPainter& p, const QRectF& oval, qreal strength) {
    p.save();
    QRadialGradient g(oval.center(), oval.width() / 2);
    g.setColorAt(0, QColor::fromRgbF(0.07, 0.12, 0.3, strength));
    g.setColorAt(1, QColor::fromRgbF(0.07, 0.12, 0.3, 0));
    p.translate(oval.center());
    p.scale(1, oval.height() / oval.width());
    p.translate(-oval.center());
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    const qreal r = oval.width() / 2;
    p.drawEllipse(oval.center(), r, r);
    p.restore();
}

void backdrop(QPainter& p, const QPointF& centre, qreal radius, const QColor& tint) {
    p.save();
    p.setPen(Qt::NoPen);
    QRadialGradient g(centre - QPointF(radius * 0.3, radius * 0.35), radius * 1.4);
    g.setColorAt(0, mix(tint, Qt::white, 0.45));
    g.setColorAt(1, tint);
    p.setBrush(g);
    p.drawEllipse(centre, radius, radius);

    // A few dots around the disc keep it from looking like a stamp.
    const QColor dot = mix(tint, palette::ink, 0.12);
    p.setBrush(dot);
    p.drawEllipse(centre + QPointF(-radius * 1.18, -radius * 0.55), 4.5, 4.5);
    p.drawEllipse(centre + QPointF(radius * 1.22, radius * 0.42), 3.5, 3.5);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(dot, 2));
    p.drawEllipse(centre + QPointF(radius * 1.12, -radius * 0.72), 5, 5);
    p.drawEllipse(centre + QPointF(-radius * 1.05, radius * 0.62), 3.5, 3.5);
    p.restore();
}

void sparkle(QPainter& p, const QPointF& c, qreal s, const QColor& colour) {
    QPainterPath star;
    const qreal w = s * 0.22;
    star.moveTo(c.x(), c.y() - s);
    star.quadTo(c.x() + w * 0.3, c.y() - w * 0.3, c.x() + s, c.y());
    star.quadTo(c.x() + w * 0.3, c.y() + w * 0.3, c.x(), c.y() + s);
    star.quadTo(c.x() - w * 0.3, c.y() + w * 0.3, c.x() - s, c.y());
    star.quadTo(c.x() - w * 0.3, c.y() - w * 0.3, c.x(), c.y() - s);
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawPath(star);
    p.restore();
}

void tick(QPainter& p, const QPointF& a, const QPointF& b, const QPointF& c, qreal width,
          const QColor& colour) {
    p.save();
    p.setPen(QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    QPainterPath path(a);
    path.lineTo(b);
    path.lineTo(c);
    p.drawPath(path);
    p.restore();
}

QPainterPath roundedRect(const QRectF& r, qreal radius) {
    QPainterPath path;
    path.addRoundedRect(r, radius, radius);
    return path;
}

void openBook(QPainter& p, const QRectF& box, const QColor& cover, bool lines) {
    p.save();
    const qreal w = box.width();
    const qreal h = box.height();
    const qreal x = box.left();
    const qreal y = box.top();
    const qreal mid = x + w / 2;
    const qreal sag = h * 0.2; // the pages dip towards the spine

    // One page, its edges rising from the spine and flattening outwards.
    auto page = [&](bool left, qreal drop, qreal spread) {
        const qreal outer = left ? x + w * 0.03 - spread : x + w * 0.97 + spread;
        const qreal d = outer - mid;
        const qreal top = y + h * 0.04 + drop;
        const qreal bottom = y + h * 0.84 + drop;
        QPainterPath path;
        path.moveTo(mid, top + sag);
        path.cubicTo(mid + d * 0.15, top - sag * 0.9, mid + d * 0.6, top - sag * 0.25, outer, top);
        path.lineTo(outer, bottom);
        path.cubicTo(mid + d * 0.6, bottom - sag * 0.25, mid + d * 0.15, bottom - sag * 0.9, mid,
                     bottom + sag);
        path.closeSubpath();
        return path;
    };

    p.setPen(Qt::NoPen);
    // The binding shows round the pages.
    const qreal edge = qMax(1.5, h * 0.08);
    p.setBrush(cover);
    p.drawPath(page(true, edge * 1.6, edge).united(page(false, edge * 1.6, edge)));
    // The pages underneath.
    p.setBrush(mix(palette::paperShade, palette::rule, 0.35));
    p.drawPath(page(true, edge * 0.9, edge * 0.3).united(page(false, edge * 0.9, edge * 0.3)));

    for (bool left : {true, false}) {
        const QPainterPath path = page(left, 0, 0);
        const qreal outer = left ? x + w * 0.03 : x + w * 0.97;
        QLinearGradient g(outer, 0, mid, 0);
        g.setColorAt(0, palette::paper);
        g.setColorAt(0.7, palette::paper);
        g.setColorAt(1, palette::paperShade);
        p.setBrush(g);
        p.drawPath(path);
        if (!lines)
            continue;
        // Lines of print that follow the bend of the page.
        const qreal d = outer - mid;
        p.setPen(QPen(palette::rule, qMax(1.0, h * 0.035), Qt::SolidLine, Qt::RoundCap));
        p.setBrush(Qt::NoBrush);
        for (int i = 0; i < 4; ++i) {
            const qreal top = y + h * (0.24 + 0.15 * i);
            const qreal from = 0.16;
            const qreal to = i == 3 ? 0.55 : 0.86;
            auto at = [&](qreal t) {
                // Same curve as the page's top edge, lowered.
                const qreal u = 1 - t;
                const qreal cy = u * u * u * (top + sag) + 3 * u * u * t * (top - sag * 0.9) +
                                 3 * u * t * t * (top - sag * 0.25) + t * t * t * top;
                const qreal cx = mid + d * (3 * u * u * t * 0.15 + 3 * u * t * t * 0.6 + t * t * t);
                return QPointF(cx, cy);
            };
            QPainterPath line(at(from));
            for (int k = 1; k <= 8; ++k)
                line.lineTo(at(from + (to - from) * k / 8));
            p.drawPath(line);
        }
        p.setPen(Qt::NoPen);
    }
    p.restore();
}

void logoTile(QPainter& p, const QRectF& tile) {
    p.save();
    const qreal s = tile.width();
    QLinearGradient g(tile.topLeft(), tile.bottomRight());
    g.setColorAt(0, mix(palette::amber, Qt::white, 0.15));
    g.setColorAt(1, palette::orange);
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawPath(roundedRect(tile, s * 0.24));

    const QRectF book(tile.left() + s * 0.16, tile.top() + s * 0.42, s * 0.68, s * 0.36);
    openBook(p, book, palette::deep, false);
    tick(p, tile.topLeft() + QPointF(s * 0.33, s * 0.26),
         tile.topLeft() + QPointF(s * 0.46, s * 0.37), tile.topLeft() + QPointF(s * 0.7, s * 0.12),
         s * 0.095, palette::deep);
    p.restore();
}

void text(QPainter& p, const QPointF& at, const QString& s, const QFont& font,
          const QColor& colour) {
    p.save();
    p.setFont(font);
    p.setPen(colour);
    p.drawText(at, s);
    p.restore();
}

qreal textWidth(const QString& s, const QFont& font) {
    return QFontMetricsF(font).horizontalAdvance(s);
}

void chalkText(QPainter& p, const QPointF& at, const QString& s, const QFont& font,
               const QColor& boardColour, unsigned seed) {
    const QFontMetricsF metrics(font);
    const QRectF bounds = metrics.boundingRect(s).translated(at).adjusted(-2, -2, 2, 2);
    QImage layer(bounds.size().toSize(), QImage::Format_ARGB32_Premultiplied);
    layer.fill(Qt::transparent);
    {
        QPainter lp(&layer);
        lp.setRenderHint(QPainter::Antialiasing);
        lp.setRenderHint(QPainter::TextAntialiasing);
        lp.setFont(font);
        lp.setPen(QColor(250, 252, 248));
        lp.drawText(at - bounds.topLeft(), s);
        // Grain: dots of board showing through the chalk.
        lp.setCompositionMode(QPainter::CompositionMode_SourceAtop);
        QRandomGenerator random(seed);
        lp.setPen(Qt::NoPen);
        for (int i = 0; i < layer.width() * layer.height() / 5; ++i) {
            const qreal x = random.bounded(layer.width());
            const qreal y = random.bounded(layer.height());
            lp.setBrush(withAlpha(boardColour, 60 + random.bounded(120)));
            lp.drawEllipse(QPointF(x, y), 0.6, 0.6);
        }
    }
    p.save();
    p.setOpacity(0.93);
    p.drawImage(bounds.topLeft(), layer);
    p.restore();
}
