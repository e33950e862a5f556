// The pictures of the main window's picture area, read from images/: the
// welcome picture and one picture per command under the pointer. All share
// one layout: white ground, a pale disc, the object standing on its shadow.
#include "art.h"
#include "canvas.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <cmath>
#include <numbers>

namespace {

// A blurred shadow under a raised rectangle, in a few soft layers.
void dropShadow(QPainter& p, const QRectF& r, qreal radius, qreal offset = 3) {
    p.save();
    p.setPen(Qt::NoPen);
    for (int i = 5; i >= 1; --i) {
        p.setBrush(QColor(20, 30, 70, 9));
        p.drawPath(roundedRect(r.translated(0, offset).adjusted(-i, -i + 1, i, i), radius + i));
    }
    p.restore();
}

void pencil(QPainter& p, const QPointF& tip, qreal angleDegrees, qreal length) {
    p.save();
    p.translate(tip);
    p.rotate(angleDegrees);
    const qreal w = 12;
    const qreal cone = 18;
    // Body
    QLinearGradient body(0, -w / 2, 0, w / 2);
    body.setColorAt(0, mix(palette::amber, Qt::white, 0.3));
    body.setColorAt(0.5, palette::amber);
    body.setColorAt(1, mix(palette::amber, palette::orange, 0.7));
    p.setPen(Qt::NoPen);
    p.setBrush(body);
    p.drawRect(QRectF(cone, -w / 2, length - cone - 16, w));
    // Sharpened wood and graphite
    QPainterPath wood;
    wood.moveTo(0, 0);
    wood.lineTo(cone, -w / 2);
    wood.lineTo(cone, w / 2);
    wood.closeSubpath();
    p.setBrush(QColor(0xf1, 0xd3, 0xa6));
    p.drawPath(wood);
    QPainterPath lead;
    lead.moveTo(0, 0);
    lead.lineTo(cone * 0.35, -w * 0.18);
    lead.lineTo(cone * 0.35, w * 0.18);
    lead.closeSubpath();
    p.setBrush(palette::ink);
    p.drawPath(lead);
    // Ferrule and eraser
    const qreal ferrule = length - 16;
    p.setBrush(QColor(0xb9, 0xc3, 0xd3));
    p.drawRect(QRectF(ferrule, -w / 2, 7, w));
    p.setPen(QPen(QColor(0x93, 0x9f, 0xb4), 1));
    p.drawLine(QPointF(ferrule + 2.5, -w / 2), QPointF(ferrule + 2.5, w / 2));
    p.drawLine(QPointF(ferrule + 4.5, -w / 2), QPointF(ferrule + 4.5, w / 2));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xf2, 0x8b, 0x9a));
    p.drawPath(roundedRect(QRectF(ferrule + 7, -w / 2, 9, w), 3));
    p.restore();
}

QPainterPath gearPath(const QPointF& c, qreal tipRadius, qreal rootRadius, int teeth,
                      qreal phaseDegrees) {
    QPainterPath path;
    const qreal step = 2 * std::numbers::pi / teeth;
    const qreal phase = phaseDegrees * std::numbers::pi / 180;
    for (int i = 0; i < teeth; ++i) {
        const qreal a = phase + i * step;
        // Root, rising flank, flat tip, falling flank.
        const qreal angles[] = {a - step * 0.5, a - step * 0.24, a - step * 0.14, a + step * 0.14,
                                a + step * 0.24};
        const qreal radii[] = {rootRadius, rootRadius, tipRadius, tipRadius, rootRadius};
        for (int k = 0; k < 5; ++k) {
            const QPointF pt(c.x() + radii[k] * std::cos(angles[k]),
                             c.y() + radii[k] * std::sin(angles[k]));
            if (i == 0 && k == 0)
                path.moveTo(pt);
            else
                path.lineTo(pt);
        }
    }
    path.closeSubpath();
    path.addEllipse(c, rootRadius * 0.38, rootRadius * 0.38);
    path.setFillRule(Qt::OddEvenFill);
    return path;
}

void gear(QPainter& p, const QPointF& c, qreal tip, qreal root, int teeth, qreal phase,
          const QColor& colour) {
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(20, 30, 70, 30));
    p.drawPath(gearPath(c + QPointF(0, 3), tip, root, teeth, phase));
    QLinearGradient g(c - QPointF(tip, tip), c + QPointF(tip, tip));
    g.setColorAt(0, mix(colour, Qt::white, 0.25));
    g.setColorAt(1, mix(colour, Qt::black, 0.12));
    p.setBrush(g);
    p.drawPath(gearPath(c, tip, root, teeth, phase));
    // A lighter ring between the hub and the teeth.
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(withAlpha(Qt::white, 70), root * 0.1));
    p.drawEllipse(c, root * 0.66, root * 0.66);
    p.restore();
}

const QPointF kCentre(141.5, 72);

} // namespace

void paintWelcome(QPainter& p, const QSize& size) {
    p.fillRect(QRectF(QPointF(0, 0), size), Qt::white);

    // The board, hung on the wall.
    const QRectF frame(12, 8, 184, 100);
    dropShadow(p, frame, 5, 4);
    QLinearGradient woodGrad(frame.topLeft(), frame.bottomLeft());
    woodGrad.setColorAt(0, mix(palette::wood, Qt::white, 0.15));
    woodGrad.setColorAt(1, mix(palette::wood, Qt::black, 0.12));
    p.setPen(Qt::NoPen);
    p.setBrush(woodGrad);
    p.drawPath(roundedRect(frame, 5));
    const QRectF slate = frame.adjusted(6, 6, -6, -6);
    QRadialGradient slateGrad(slate.center() - QPointF(20, 14), slate.width() * 0.75);
    slateGrad.setColorAt(0, mix(palette::board, Qt::white, 0.12));
    slateGrad.setColorAt(1, mix(palette::board, Qt::black, 0.12));
    p.setBrush(slateGrad);
    p.drawRect(slate);

    // Faint wiped-out chalk, as on every real board.
    p.setPen(QPen(QColor(255, 255, 255, 14), 9, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(slate.left() + 14, slate.bottom() - 12),
               QPointF(slate.left() + 70, slate.bottom() - 18));
    p.drawLine(QPointF(slate.right() - 60, slate.top() + 12),
               QPointF(slate.right() - 18, slate.top() + 9));

    const QFont big = artFont(23, QFont::Bold);
    const QString hello = QStringLiteral("Добре дошли!");
    const qreal helloX = slate.center().x() - textWidth(hello, big) / 2;
    chalkText(p, QPointF(helloX, slate.top() + 38), hello, big, palette::board, 7);
    // A chalk underline with a little swing.
    QPainterPath under;
    under.moveTo(helloX + 4, slate.top() + 47);
    under.cubicTo(helloX + 50, slate.top() + 43, helloX + 100, slate.top() + 50,
                  helloX + textWidth(hello, big) - 6, slate.top() + 45);
    p.setPen(QPen(QColor(0xf6, 0xd3, 0x7a, 210), 2.2, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawPath(under);

    const QFont small = artFont(14, QFont::Bold);
    const QString sub = QStringLiteral("учим с удоволствие");
    chalkText(p, QPointF(slate.center().x() - textWidth(sub, small) / 2, slate.top() + 70), sub,
              small, palette::board, 11);
    sparkle(p, QPointF(slate.right() - 14, slate.top() + 13), 5, QColor(255, 255, 255, 200));
    sparkle(p, QPointF(slate.left() + 12, slate.top() + 12), 3.5, QColor(255, 255, 255, 150));

    // Tray with a piece of chalk.
    const QRectF tray(frame.left() + 12, frame.bottom() - 1, frame.width() - 24, 5);
    p.setPen(Qt::NoPen);
    p.setBrush(mix(palette::wood, Qt::black, 0.25));
    p.drawPath(roundedRect(tray, 2));
    p.setBrush(Qt::white);
    p.drawPath(roundedRect(QRectF(tray.right() - 40, tray.top() - 3.5, 15, 4.5), 2));
    p.setBrush(QColor(0xf6, 0xd3, 0x7a));
    p.drawPath(roundedRect(QRectF(tray.right() - 22, tray.top() - 3.5, 11, 4.5), 2));

    // A pile of books with an apple on top.
    groundShadow(p, QRectF(192, 122, 82, 16), 0.25);
    struct Book {
        QRectF r;
        QColor colour;
    };
    const Book books[] = {
        {QRectF(201, 113, 66, 15), palette::blue},
        {QRectF(207, 99, 58, 14), palette::green},
        {QRectF(199, 86, 60, 13), palette::orange},
    };
    for (const Book& b : books) {
        p.setBrush(b.colour);
        p.drawPath(roundedRect(b.r, 2.5));
        // Pages along the open side and a band on the spine.
        p.setBrush(palette::paper);
        p.drawRect(QRectF(b.r.right() - 6, b.r.top() + 2, 4.5, b.r.height() - 4));
        p.setBrush(withAlpha(Qt::white, 90));
        p.drawRect(QRectF(b.r.left() + 8, b.r.top(), 4, b.r.height()));
        p.setPen(QPen(palette::rule, 0.8));
        for (qreal y = b.r.top() + 4.5; y < b.r.bottom() - 3; y += 2.5)
            p.drawLine(QPointF(b.r.right() - 5.5, y), QPointF(b.r.right() - 2, y));
        p.setPen(Qt::NoPen);
    }
    const QPointF apple(231, 73);
    QRadialGradient appleGrad(apple - QPointF(4, 4), 14);
    appleGrad.setColorAt(0, mix(palette::red, Qt::white, 0.35));
    appleGrad.setColorAt(1, mix(palette::red, Qt::black, 0.08));
    p.setBrush(appleGrad);
    QPainterPath applePath;
    applePath.moveTo(apple + QPointF(0, -8));
    applePath.cubicTo(apple + QPointF(8, -14), apple + QPointF(16, -4), apple + QPointF(11, 7));
    applePath.cubicTo(apple + QPointF(8, 14), apple + QPointF(2, 13), apple + QPointF(0, 12));
    applePath.cubicTo(apple + QPointF(-2, 13), apple + QPointF(-8, 14), apple + QPointF(-11, 7));
    applePath.cubicTo(apple + QPointF(-16, -4), apple + QPointF(-8, -14), apple + QPointF(0, -8));
    p.drawPath(applePath);
    p.setPen(QPen(QColor(0x6b, 0x45, 0x2a), 2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(apple + QPointF(0, -8), apple + QPointF(1.5, -15));
    p.setPen(Qt::NoPen);
    p.setBrush(palette::green);
    QPainterPath leaf;
    leaf.moveTo(apple + QPointF(1.5, -13));
    leaf.quadTo(apple + QPointF(6, -20), apple + QPointF(12, -17));
    leaf.quadTo(apple + QPointF(7, -11), apple + QPointF(1.5, -13));
    p.drawPath(leaf);
}

void paintTest(QPainter& p, const QSize& size) {
    p.fillRect(QRectF(QPointF(0, 0), size), Qt::white);
    backdrop(p, kCentre, 62, palette::skyLight);
    groundShadow(p, QRectF(86, 118, 110, 18));

    p.save();
    p.translate(134, 72);
    p.rotate(-6);
    const QRectF sheet(-40, -52, 80, 104);
    dropShadow(p, sheet, 3, 2);
    p.setPen(QPen(mix(palette::rule, Qt::white, 0.3), 1));
    p.setBrush(palette::paper);
    p.drawPath(roundedRect(sheet, 3));
    p.setPen(Qt::NoPen);
    p.setBrush(palette::blue);
    p.drawPath(roundedRect(QRectF(-30, -42, 36, 6), 3));
    p.setBrush(palette::rule);
    p.drawPath(roundedRect(QRectF(-30, -31, 24, 4), 2));

    for (int i = 0; i < 3; ++i) {
        const qreal y = -16 + i * 21;
        const QRectF box(-30, y, 12, 12);
        p.setPen(QPen(palette::steel, 1.5));
        p.setBrush(palette::paper);
        p.drawPath(roundedRect(box, 2.5));
        p.setPen(QPen(palette::rule, 3, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(-12, y + 4), QPointF(i == 1 ? 18 : 28, y + 4));
        p.drawLine(QPointF(-12, y + 10), QPointF(i == 2 ? 6 : 14, y + 10));
        if (i < 2)
            tick(p, box.topLeft() + QPointF(2.5, 6), box.topLeft() + QPointF(5.5, 9.5),
                 box.topLeft() + QPointF(13, -1), 2.8, palette::green);
    }
    p.restore();

    // The mark: a six, the best a pupil can get.
    const QPointF stamp(176, 30);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(20, 30, 70, 30));
    p.drawEllipse(stamp + QPointF(0, 2), 17, 17);
    p.setBrush(palette::red);
    p.drawEllipse(stamp, 17, 17);
    p.setPen(QPen(withAlpha(Qt::white, 160), 1.3));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(stamp, 13.5, 13.5);
    const QFont mark = artFont(21, QFont::Bold);
    text(p, stamp + QPointF(-textWidth(QStringLiteral("6"), mark) / 2, 7.5), QStringLiteral("6"),
         mark, Qt::white);

    pencil(p, QPointF(166, 114), -62, 88);
    sparkle(p, QPointF(90, 30), 5, palette::amber);
}

void paintTutor(QPainter& p, const QSize& size) {
    p.fillRect(QRectF(QPointF(0, 0), size), Qt::white);
    backdrop(p, kCentre, 62, palette::greenLight);
    groundShadow(p, QRectF(80, 116, 124, 20), 0.25);
    openBook(p, QRectF(86, 72, 112, 48), palette::green, true);

    // A light bulb: the idea that comes with learning.
    const QPointF bulb(141.5, 36);
    p.setPen(Qt::NoPen);
    QRadialGradient glow(bulb, 34);
    glow.setColorAt(0, withAlpha(palette::amber, 110));
    glow.setColorAt(1, withAlpha(palette::amber, 0));
    p.setBrush(glow);
    p.drawEllipse(bulb, 34, 34);
    QRadialGradient glass(bulb - QPointF(5, 6), 20);
    glass.setColorAt(0, QColor(0xff, 0xf3, 0xc4));
    glass.setColorAt(1, palette::amber);
    p.setBrush(glass);
    QPainterPath shape;
    shape.moveTo(bulb + QPointF(-7, 18));
    shape.cubicTo(bulb + QPointF(-8, 11), bulb + QPointF(-16, 7), bulb + QPointF(-16, -2));
    shape.cubicTo(bulb + QPointF(-16, -12), bulb + QPointF(-8, -18), bulb + QPointF(0, -18));
    shape.cubicTo(bulb + QPointF(8, -18), bulb + QPointF(16, -12), bulb + QPointF(16, -2));
    shape.cubicTo(bulb + QPointF(16, 7), bulb + QPointF(8, 11), bulb + QPointF(7, 18));
    shape.closeSubpath();
    p.drawPath(shape);
    p.setPen(QPen(mix(palette::orange, palette::amber, 0.3), 1.6, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    QPainterPath filament;
    filament.moveTo(bulb + QPointF(-4, 14));
    filament.lineTo(bulb + QPointF(-4, 3));
    filament.quadTo(bulb + QPointF(-2, -2), bulb + QPointF(0, 3));
    filament.quadTo(bulb + QPointF(2, -2), bulb + QPointF(4, 3));
    filament.lineTo(bulb + QPointF(4, 14));
    p.drawPath(filament);
    p.setPen(QPen(withAlpha(Qt::white, 200), 2.5, Qt::SolidLine, Qt::RoundCap));
    p.drawArc(QRectF(bulb - QPointF(11, 12), QSizeF(16, 16)), 100 * 16, 70 * 16);
    // Screw base
    p.setPen(Qt::NoPen);
    const QColor metal(0x9a, 0xa7, 0xbd);
    for (int i = 0; i < 3; ++i) {
        p.setBrush(i % 2 ? mix(metal, Qt::white, 0.3) : metal);
        p.drawPath(roundedRect(QRectF(bulb.x() - 7, bulb.y() + 18 + i * 3.4, 14, 3.6), 1.5));
    }
    p.setBrush(palette::ink);
    p.drawEllipse(QPointF(bulb.x(), bulb.y() + 29), 3, 2);

    // Rays
    p.setPen(QPen(palette::orange, 2.6, Qt::SolidLine, Qt::RoundCap));
    for (int deg : {-150, -118, -90, -62, -30}) {
        const qreal a = deg * std::numbers::pi / 180;
        const QPointF dir(std::cos(a), std::sin(a));
        p.drawLine(bulb + dir * 24, bulb + dir * 31);
    }
    sparkle(p, QPointF(96, 60), 5, palette::green);
    sparkle(p, QPointF(190, 52), 4, palette::amber);
}

void paintInformation(QPainter& p, const QSize& size) {
    p.fillRect(QRectF(QPointF(0, 0), size), Qt::white);
    backdrop(p, kCentre, 62, palette::skyLight);
    groundShadow(p, QRectF(102, 118, 80, 16));

    const QPointF c(141.5, 70);
    const qreal r = 42;
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(20, 30, 70, 35));
    p.drawEllipse(c + QPointF(0, 3), r, r);
    QLinearGradient disc(c - QPointF(r, r), c + QPointF(r, r));
    disc.setColorAt(0, palette::sky);
    disc.setColorAt(1, palette::deep);
    p.setBrush(disc);
    p.drawEllipse(c, r, r);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(withAlpha(Qt::white, 60), 3));
    p.drawEllipse(c, r - 6, r - 6);

    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawEllipse(c + QPointF(0, -20), 6.5, 6.5);
    QPainterPath stem;
    stem.addRoundedRect(QRectF(c.x() - 6, c.y() - 6, 12, 34), 3.5, 3.5);
    stem.addRoundedRect(QRectF(c.x() - 11, c.y() - 6, 11, 6), 2.5, 2.5);
    stem.addRoundedRect(QRectF(c.x() - 11, c.y() + 23, 22, 6), 2.5, 2.5);
    stem.setFillRule(Qt::WindingFill);
    p.drawPath(stem.simplified());

    sparkle(p, QPointF(c.x() + r + 8, c.y() - r + 4), 6, palette::amber);
    sparkle(p, QPointF(c.x() - r - 4, c.y() + 14), 4, palette::sky);
}

void paintQuestion(QPainter& p, const QSize& size) {
    p.fillRect(QRectF(QPointF(0, 0), size), Qt::white);
    backdrop(p, kCentre, 62, palette::amberLight);
    groundShadow(p, QRectF(96, 118, 92, 16));

    // A small blue bubble behind: someone is already answering.
    const QRectF small(154, 18, 52, 36);
    QPainterPath back = roundedRect(small, 14);
    QPainterPath backTail;
    backTail.moveTo(small.left() + 36, small.bottom() - 2);
    backTail.lineTo(small.left() + 44, small.bottom() + 10);
    backTail.lineTo(small.left() + 24, small.bottom() - 2);
    back = back.united(backTail);
    p.setPen(Qt::NoPen);
    p.setBrush(palette::blue);
    p.drawPath(back);
    p.setBrush(Qt::white);
    for (int i = 0; i < 3; ++i)
        p.drawEllipse(QPointF(small.left() + 15 + i * 11, small.center().y()), 3.2, 3.2);

    const QRectF bubble(88, 34, 92, 74);
    QPainterPath front = roundedRect(bubble, 24);
    QPainterPath tail;
    tail.moveTo(bubble.left() + 18, bubble.bottom() - 6);
    tail.lineTo(bubble.left() + 6, bubble.bottom() + 14);
    tail.lineTo(bubble.left() + 40, bubble.bottom() - 2);
    front = front.united(tail);
    p.setBrush(QColor(20, 30, 70, 30));
    p.drawPath(front.translated(0, 3));
    QLinearGradient g(bubble.topLeft(), bubble.bottomRight());
    g.setColorAt(0, mix(palette::amber, Qt::white, 0.1));
    g.setColorAt(1, palette::orange);
    p.setBrush(g);
    p.drawPath(front);

    const QFont mark = artFont(60, QFont::Bold);
    const QString q = QStringLiteral("?");
    text(p, QPointF(bubble.center().x() - textWidth(q, mark) / 2, bubble.center().y() + 21), q,
         mark, Qt::white);
    sparkle(p, QPointF(86, 28), 5, palette::blue);
}

void paintSettings(QPainter& p, const QSize& size) {
    p.fillRect(QRectF(QPointF(0, 0), size), Qt::white);
    backdrop(p, kCentre, 62, mix(palette::skyLight, palette::paperShade, 0.5));
    groundShadow(p, QRectF(86, 118, 110, 18));

    // Placed and turned so that each tooth meets a gap of the big wheel.
    gear(p, QPointF(125, 78), 40, 32, 11, -18.1, palette::blue);
    gear(p, QPointF(174, 44.4), 25, 19, 8, 10.5, palette::orange);
    gear(p, QPointF(169.1, 104.5), 15, 11.5, 7, 5.3, palette::steel);
}

void paintExit(QPainter& p, const QSize& size) {
    p.fillRect(QRectF(QPointF(0, 0), size), Qt::white);
    backdrop(p, kCentre, 62, palette::redLight);
    groundShadow(p, QRectF(88, 118, 118, 18));

    const QRectF doorway(114, 20, 56, 102);
    // Daylight outside.
    QLinearGradient light(doorway.topLeft(), doorway.bottomLeft());
    light.setColorAt(0, QColor(0xff, 0xf6, 0xdc));
    light.setColorAt(1, mix(palette::amber, Qt::white, 0.45));
    p.setPen(Qt::NoPen);
    p.setBrush(light);
    p.drawRect(doorway);
    // Its spill on the floor.
    QPainterPath spill;
    spill.moveTo(doorway.bottomLeft());
    spill.lineTo(doorway.bottomRight());
    spill.lineTo(doorway.right() + 26, doorway.bottom() + 14);
    spill.lineTo(doorway.left() + 14, doorway.bottom() + 14);
    spill.closeSubpath();
    p.setBrush(withAlpha(palette::amber, 70));
    p.drawPath(spill);

    // The frame.
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(palette::ink, 6, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    QPainterPath frame;
    frame.moveTo(doorway.bottomLeft() + QPointF(-3, 0));
    frame.lineTo(doorway.topLeft() + QPointF(-3, -3));
    frame.lineTo(doorway.topRight() + QPointF(3, -3));
    frame.lineTo(doorway.bottomRight() + QPointF(3, 0));
    p.drawPath(frame);

    // The door, swung open towards us.
    QPainterPath leaf;
    leaf.moveTo(doorway.left(), doorway.top());
    leaf.lineTo(doorway.left() - 30, doorway.top() - 10);
    leaf.lineTo(doorway.left() - 30, doorway.bottom() + 12);
    leaf.lineTo(doorway.left(), doorway.bottom());
    leaf.closeSubpath();
    QLinearGradient wood(doorway.left() - 30, 0, doorway.left(), 0);
    wood.setColorAt(0, palette::blue);
    wood.setColorAt(1, palette::deep);
    p.setPen(Qt::NoPen);
    p.setBrush(wood);
    p.drawPath(leaf);
    QPainterPath panel;
    panel.moveTo(doorway.left() - 6, doorway.top() + 12);
    panel.lineTo(doorway.left() - 24, doorway.top() + 6);
    panel.lineTo(doorway.left() - 24, doorway.top() + 44);
    panel.lineTo(doorway.left() - 6, doorway.top() + 46);
    panel.closeSubpath();
    p.setBrush(withAlpha(Qt::white, 40));
    p.drawPath(panel);
    p.drawPath(panel.translated(0, 44));
    p.setBrush(palette::amber);
    p.drawEllipse(QPointF(doorway.left() - 24, doorway.center().y() + 4), 3, 3.6);

    // The way out.
    const qreal y = 72;
    QPainterPath arrow;
    arrow.moveTo(146, y - 6);
    arrow.lineTo(206, y - 6);
    arrow.lineTo(206, y - 17);
    arrow.lineTo(230, y);
    arrow.lineTo(206, y + 17);
    arrow.lineTo(206, y + 6);
    arrow.lineTo(146, y + 6);
    arrow.closeSubpath();
    p.setBrush(QColor(20, 30, 70, 35));
    p.drawPath(arrow.translated(0, 3));
    p.setPen(QPen(Qt::white, 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(palette::red);
    p.drawPath(arrow);
}
