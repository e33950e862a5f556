// kivor-art: paints the program's pictures and writes them as JPEG.
//
//   kivor-art <images-folder> <embedded-folder> [--sheet <file.png>]
//
// The build runs it so that the program folder's images/ and the pictures
// built into the program always come from this code, never from hand-made
// binaries. With --sheet it also draws every picture, as the program decodes
// it, on one contact sheet with a rough mock-up of the windows.
#include "app/picture.h"
#include "art.h"
#include "canvas.h"

#include <QApplication>
#include <QDir>
#include <QFontInfo>
#include <QFrame>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QSaveFile>
#include <QStatusBar>
#include <QToolButton>

#include <cstdio>
#include <cstdlib>
#include <vector>

std::vector<ArtItem> catalogue() {
    return {
        {QStringLiteral("title"), {494, 56}, true, false, paintTitle},
        {QStringLiteral("splash"), {300, 200}, true, false, paintSplash},
        {QStringLiteral("about"), {364, 111}, true, false, paintAbout},
        {QStringLiteral("test-glyph"), {32, 32}, true, true, paintTestGlyph},
        {QStringLiteral("tutor-glyph"), {32, 32}, true, true, paintTutorGlyph},
        {QStringLiteral("remove-word"), {19, 19}, true, true, paintRemoveWord},
        {QStringLiteral("arrow"), {20, 44}, true, true, paintArrow},
        {QStringLiteral("wellcome"), {283, 145}, false, false, paintWelcome},
        {QStringLiteral("test"), {283, 145}, false, false, paintTest},
        {QStringLiteral("tutor"), {283, 145}, false, false, paintTutor},
        {QStringLiteral("inf"), {283, 145}, false, false, paintInformation},
        {QStringLiteral("qu"), {283, 145}, false, false, paintQuestion},
        {QStringLiteral("settings"), {283, 145}, false, false, paintSettings},
        {QStringLiteral("exit"), {283, 145}, false, false, paintExit},
    };
}

namespace {

[[noreturn]] void fail(const QString& message) {
    std::fprintf(stderr, "kivor-art: %s\n", qPrintable(message));
    std::exit(1);
}

QImage render(const ArtItem& item) {
    QImage image(item.size, QImage::Format_ARGB32_Premultiplied);
    image.fill(item.transparent ? Qt::transparent : Qt::white);
    QPainter p(&image);
    p.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing |
                     QPainter::SmoothPixmapTransform);
    item.paint(p, item.size);
    return image;
}

// The colours of a glyph, with each edge colour spread a few pixels into the
// clear area. Compression blurs across the edge; what it blurs in must be the
// glyph's own colour, or the glyph gets a pale or dark fringe.
QImage coloursOf(const QImage& glyph) {
    QImage straight = glyph.convertToFormat(QImage::Format_ARGB32);
    const int w = straight.width();
    const int h = straight.height();
    std::vector<bool> known(std::size_t(w) * h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            known[std::size_t(y) * w + x] = qAlpha(straight.pixel(x, y)) > 0;
    for (int pass = 0; pass < 4; ++pass) {
        std::vector<bool> next = known;
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                if (known[std::size_t(y) * w + x])
                    continue;
                int r = 0, g = 0, b = 0, n = 0;
                for (const auto& [dx, dy] : {std::pair{-1, 0}, {1, 0}, {0, -1}, {0, 1}}) {
                    const int nx = x + dx, ny = y + dy;
                    if (nx < 0 || ny < 0 || nx >= w || ny >= h || !known[std::size_t(ny) * w + nx])
                        continue;
                    const QRgb c = straight.pixel(nx, ny);
                    r += qRed(c), g += qGreen(c), b += qBlue(c), ++n;
                }
                if (n) {
                    straight.setPixel(x, y, qRgba(r / n, g / n, b / n, 0));
                    next[std::size_t(y) * w + x] = true;
                }
            }
        }
        known = std::move(next);
    }
    QImage out(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const QRgb c = straight.pixel(x, y);
            out.setPixel(x, y,
                         known[std::size_t(y) * w + x] ? qRgb(qRed(c), qGreen(c), qBlue(c))
                                                       : qRgb(255, 255, 255));
        }
    return out;
}

QImage outlineOf(const QImage& glyph) {
    QImage mask(glyph.size(), QImage::Format_Grayscale8);
    for (int y = 0; y < glyph.height(); ++y)
        for (int x = 0; x < glyph.width(); ++x)
            mask.scanLine(y)[x] = uchar(qAlpha(glyph.pixel(x, y)));
    return mask;
}

void write(const QString& path, const QByteArray& bytes) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        fail(QStringLiteral("cannot write %1: %2").arg(path, file.errorString()));
}

// Writes one picture and reads it back the way the program will.
QImage produce(const ArtItem& item, const QString& folder) {
    const QImage image = render(item);
    const QString path = QDir(folder).filePath(item.name + QStringLiteral(".jpg"));
    try {
        if (!item.transparent) {
            const QByteArray bytes = encodeJpeg(image, 93);
            write(path, bytes);
            return decodeJpeg(bytes, path);
        }
        // Glyphs are tiny; full quality costs nothing and keeps their edges clean.
        const QByteArray colours = encodeJpeg(coloursOf(image), 100);
        const QByteArray outline = encodeJpeg(outlineOf(image), 100);
        write(path, colours);
        write(QDir(folder).filePath(item.name + QStringLiteral(".mask.jpg")), outline);
        return joinOutline(decodeJpeg(colours, path), decodeJpeg(outline, path), path);
    } catch (const PictureError& e) {
        fail(e.text());
    }
    return QImage();
}

QImage mockMainWindow(const QImage& title, const QImage& welcome, const QImage& testGlyph,
                      const QImage& tutorGlyph) {
    QWidget window;
    window.setFixedSize(494, 313);
    window.setAutoFillBackground(true);
    QPalette pal = window.palette();
    pal.setColor(QPalette::Window, Qt::white);
    window.setPalette(pal);
    window.setFont(artFont(12));

    auto* band = new QLabel(&window);
    band->setGeometry(0, 0, 494, 56);
    band->setPixmap(QPixmap::fromImage(title));
    auto button = [&](const QString& caption, QRect geometry, bool enabled) {
        auto* b = new QPushButton(caption, &window);
        b->setGeometry(geometry);
        b->setEnabled(enabled);
        return b;
    };
    button(QStringLiteral("Информация"), {5, 59, 115, 25}, true);
    button(QStringLiteral("Помощ"), {125, 59, 81, 25}, true);
    auto* test = button(QStringLiteral("Тест"), {5, 89, 98, 52}, true);
    test->setIcon(QPixmap::fromImage(testGlyph));
    test->setIconSize(QSize(32, 32));
    auto* tutor = new QToolButton(&window);
    tutor->setGeometry(108, 88, 98, 81);
    tutor->setText(QStringLiteral("Обучение"));
    tutor->setIcon(QPixmap::fromImage(tutorGlyph));
    tutor->setIconSize(QSize(32, 32));
    tutor->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    button(QStringLiteral("Тест по мрежа"), {5, 144, 98, 25}, false);
    button(QStringLiteral("Принтиране"), {5, 174, 201, 25}, false);
    button(QStringLiteral("Дневник"), {5, 205, 96, 25}, false);
    button(QStringLiteral("Теми"), {105, 205, 101, 25}, false);
    button(QStringLiteral("Настройки"), {5, 236, 116, 25}, true);
    button(QStringLiteral("Речник"), {125, 236, 81, 25}, false);
    button(QStringLiteral("Изход"), {5, 266, 201, 25}, true);
    auto* picture = new QLabel(&window);
    picture->setGeometry(209, 58, 283, 145);
    picture->setAlignment(Qt::AlignCenter);
    picture->setPixmap(QPixmap::fromImage(welcome));
    auto* status = new QStatusBar(&window);
    status->setGeometry(0, 293, 494, 20);
    status->setSizeGripEnabled(false);
    return window.grab().toImage();
}

QImage mockAbout(const QImage& header) {
    QImage image(364, 111, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
    p.drawImage(0, 0, header);
    text(p, QPointF(16, 30), QStringLiteral("Tamrel"), artFont(19, QFont::Bold), palette::navy);
    text(p, QPointF(14, 72), QStringLiteral("Kivor"), artFont(40, QFont::Bold), palette::navy);
    text(p, QPointF(16, 94), QStringLiteral("версия 2.5"), artFont(13), palette::ink);
    return image;
}

void drawSheet(const QString& path, const std::vector<ArtItem>& items,
               const std::vector<QImage>& images) {
    auto find = [&](const QString& name) {
        for (std::size_t i = 0; i < items.size(); ++i)
            if (items[i].name == name)
                return images[i];
        return QImage();
    };
    const int margin = 24;
    QImage sheet(1240, 1090, QImage::Format_RGB32);
    sheet.fill(QColor(0xf3, 0xf5, 0xf9));
    QPainter p(&sheet);
    p.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing |
                     QPainter::SmoothPixmapTransform);
    const QFont heading = artFont(18, QFont::Bold);
    const QFont caption = artFont(12);
    text(p, QPointF(margin, 34), QStringLiteral("Kivor — картините на програмата"), heading,
         palette::navy);

    auto place = [&](const QImage& image, QPointF at, const QString& label, qreal scale = 1) {
        const QSizeF size = QSizeF(image.size()) * scale;
        p.fillRect(QRectF(at, size).adjusted(-1, -1, 1, 1), QColor(0xc8, 0xd0, 0xdc));
        p.drawImage(QRectF(at, size), image);
        text(p, at + QPointF(0, size.height() + 16), label, caption, palette::ink);
    };

    // The program folder's pictures, in the size the picture area shows them.
    qreal x = margin;
    qreal y = 60;
    int column = 0;
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (items[i].embedded)
            continue;
        place(images[i], QPointF(x, y),
              QStringLiteral("images/%1.jpg  %2×%3")
                  .arg(items[i].name)
                  .arg(items[i].size.width())
                  .arg(items[i].size.height()));
        x += 283 + 24;
        if (++column == 3) {
            column = 0;
            x = margin;
            y += 145 + 36;
        }
    }

    // The built-in pictures.
    y = 60 + 3 * (145 + 36) + 6;
    x = margin;
    place(find(QStringLiteral("title")), QPointF(x, y), QStringLiteral("title 494×56"));
    place(find(QStringLiteral("about")), QPointF(x + 520, y),
          QStringLiteral("about 364×111 (само фон)"));
    place(mockAbout(find(QStringLiteral("about"))), QPointF(x + 910, y),
          QStringLiteral("about с текстовете (макет)"), 0.75);
    y += 140;
    place(find(QStringLiteral("splash")), QPointF(x, y), QStringLiteral("splash 300×200"));

    // Glyphs enlarged, then at their size on a button's grey and on white.
    qreal gx = x + 340;
    for (const QString& name : {QStringLiteral("test-glyph"), QStringLiteral("tutor-glyph"),
                                QStringLiteral("remove-word"), QStringLiteral("arrow")}) {
        const QImage glyph = find(name);
        const QSizeF big = QSizeF(glyph.size()) * 3;
        p.fillRect(QRectF(QPointF(gx - 6, y - 6), big + QSizeF(12, 12)), QColor(0xe1, 0xe4, 0xea));
        p.drawImage(QRectF(QPointF(gx, y), big), glyph);
        const qreal small = y + big.height() + 16;
        p.fillRect(QRectF(gx - 4, small - 4, glyph.width() + 8, glyph.height() + 8),
                   QColor(0xe1, 0xe4, 0xea));
        p.drawImage(QPointF(gx, small), glyph);
        p.fillRect(QRectF(gx + 44, small - 4, glyph.width() + 8, glyph.height() + 8), Qt::white);
        p.drawImage(QPointF(gx + 48, small), glyph);
        text(p, QPointF(gx, small + glyph.height() + 20), name, caption, palette::ink);
        gx += 112;
    }

    place(mockMainWindow(find(QStringLiteral("title")), find(QStringLiteral("wellcome")),
                         find(QStringLiteral("test-glyph")), find(QStringLiteral("tutor-glyph"))),
          QPointF(x + 690, y), QStringLiteral("главният прозорец (макет)"));
    p.end();
    if (!sheet.save(path, "PNG"))
        fail(QStringLiteral("cannot write %1").arg(path));
}

} // namespace

int main(int argc, char** argv) {
    // A build step: no display, no desktop settings.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    QString sheet;
    if (const auto at = args.indexOf(QStringLiteral("--sheet")); at >= 0 && at + 1 < args.size()) {
        sheet = args.at(at + 1);
        args.remove(at, 2);
    }
    if (args.size() != 2)
        fail(QStringLiteral(
            "usage: kivor-art <images-folder> <embedded-folder> [--sheet file.png]"));
    const QString family = QFontInfo(artFont(12)).family();
    if (family != QStringLiteral("Liberation Sans"))
        fail(QStringLiteral(
                 "the font Liberation Sans is missing (got %1); install fonts-liberation2")
                 .arg(family));

    for (const QString& folder : args)
        if (!QDir().mkpath(folder))
            fail(QStringLiteral("cannot create %1").arg(folder));
    const std::vector<ArtItem> items = catalogue();
    std::vector<QImage> images;
    for (const ArtItem& item : items)
        images.push_back(produce(item, item.embedded ? args.at(1) : args.at(0)));
    if (!sheet.isEmpty())
        drawSheet(sheet, items, images);
    return 0;
}
