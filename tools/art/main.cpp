// kivor-art: paints the program's pictures and writes them as files.
//
//   kivor-art <images-folder> <embedded-folder> [--sheet <file.png>]
//
// `make art` runs it over media/images (the program folder's pictures, JPEG)
// and media/art (the pictures built into the program: JPEG, glyphs as PNG with
// their transparency); the files it writes are committed. With --sheet it also
// draws every picture, as the program decodes it, on one contact sheet with a
// rough mock-up of the windows.
#include "art.h"
#include "canvas.h"
#include "media/picture.h"
#include "tools/jpeg/jpegwrite.h"

#include <QApplication>
#include <QBuffer>
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

void write(const QString& path, const QByteArray& bytes) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        fail(QStringLiteral("cannot write %1: %2").arg(path, file.errorString()));
}

// Writes one picture and reads it back the way the program will.
QImage produce(const ArtItem& item, const QString& folder) {
    const QImage image = render(item);
    try {
        if (!item.transparent) {
            const QString path = QDir(folder).filePath(item.name + QStringLiteral(".jpg"));
            const QByteArray bytes = encodeJpeg(image, 93);
            write(path, bytes);
            return decodeJpeg(bytes, path);
        }
        // Glyphs keep their transparency, which only PNG carries.
        const QString path = QDir(folder).filePath(item.name + QStringLiteral(".png"));
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        if (!image.convertToFormat(QImage::Format_ARGB32).save(&buffer, "PNG"))
            fail(QStringLiteral("cannot encode %1").arg(path));
        write(path, bytes);
        return image;
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
