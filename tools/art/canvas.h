#pragma once

#include <QColor>
#include <QFont>

class QPainter;
class QPainterPath;
class QPointF;
class QRectF;
class QString;

// One palette for every picture, so the windows look like one product. Navy
// is the program's hint colour; the windows themselves are white.
namespace palette {
inline const QColor navy{0x00, 0x00, 0x80};
inline const QColor ink{0x1b, 0x26, 0x5c};
inline const QColor deep{0x12, 0x2a, 0x7a};
inline const QColor blue{0x2f, 0x6f, 0xd6};
inline const QColor sky{0x5a, 0xa9, 0xf0};
inline const QColor skyLight{0xe4, 0xf0, 0xfc};
inline const QColor amber{0xf6, 0xb2, 0x3c};
inline const QColor orange{0xef, 0x7d, 0x32};
inline const QColor green{0x34, 0xa0, 0x65};
inline const QColor greenLight{0xe0, 0xf3, 0xe7};
inline const QColor red{0xdc, 0x4b, 0x4b};
inline const QColor redLight{0xfc, 0xe6, 0xe3};
inline const QColor amberLight{0xfd, 0xf0, 0xd8};
inline const QColor paper{0xff, 0xff, 0xff};
inline const QColor paperShade{0xee, 0xf2, 0xf8};
inline const QColor rule{0xc5, 0xd3, 0xea};
inline const QColor steel{0x8a, 0x99, 0xb4};
inline const QColor board{0x2e, 0x5e, 0x4e};
inline const QColor wood{0xb8, 0x80, 0x48};
} // namespace palette

// Liberation Sans has Cyrillic and Arial's proportions, like the windows' font.
QFont artFont(qreal pixelSize, QFont::Weight weight = QFont::Normal, bool italic = false);

QColor mix(const QColor& a, const QColor& b, qreal t);
QColor withAlpha(QColor c, int alpha);

// A soft oval shadow on the ground under an object.
void groundShadow(QPainter& p, const QRectF& oval, qreal strength = 0.22);

// The pale disc every hover picture stands on, with a few floating dots.
void backdrop(QPainter& p, const QPointF& centre, qreal radius, const QColor& tint);

// A four-pointed twinkle.
void sparkle(QPainter& p, const QPointF& centre, qreal size, const QColor& colour);

// A tick drawn with round ends through three points.
void tick(QPainter& p, const QPointF& a, const QPointF& b, const QPointF& c, qreal width,
          const QColor& colour);

// The program's mark: a white open book on an amber tile, with a navy tick.
void logoTile(QPainter& p, const QRectF& tile);

// An open book seen from the front; `cover` is the colour of its binding.
void openBook(QPainter& p, const QRectF& box, const QColor& cover, bool lines = true);

// Text whose left end of the baseline is at `at`.
void text(QPainter& p, const QPointF& at, const QString& s, const QFont& font,
          const QColor& colour);
qreal textWidth(const QString& s, const QFont& font);

// White chalk on a board: slightly translucent and grainy, deterministic.
void chalkText(QPainter& p, const QPointF& at, const QString& s, const QFont& font,
               const QColor& boardColour, unsigned seed);

QPainterPath roundedRect(const QRectF& r, qreal radius);
