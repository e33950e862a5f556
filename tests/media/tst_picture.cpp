#include "media/picture.h"
#include "tools/jpeg/jpegwrite.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>

#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include <jpeglib.h>

namespace {

const QColor kLeft(200, 30, 30);
const QColor kRight(30, 60, 200);

// Two flat halves: any decoder mix-up (channel order, CMYK inversion, grey
// expansion) shows at the probes in the middle of each half.
QImage halves() {
    QImage image(64, 48, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, (x < 32 ? kLeft : kRight).rgb());
    return image;
}

QImage greyHalves() {
    QImage image(64, 48, QImage::Format_Grayscale8);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.scanLine(y)[x] = x < 32 ? 60 : 200;
    return image;
}

enum class Layout { Progressive, AdobeCmyk, PlainCmyk };

// Kinds of file the program's own encoder never writes, made the way other
// programs make them. Fixture only: libjpeg's default error handling is fine.
QByteArray foreignJpeg(Layout layout) {
    const QImage image = halves();
    jpeg_compress_struct cinfo;
    jpeg_error_mgr err;
    cinfo.err = jpeg_std_error(&err);
    jpeg_create_compress(&cinfo);
    unsigned char* bytes = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &bytes, &size);
    cinfo.image_width = JDIMENSION(image.width());
    cinfo.image_height = JDIMENSION(image.height());
    const bool cmyk = layout != Layout::Progressive;
    cinfo.input_components = cmyk ? 4 : 3;
    cinfo.in_color_space = cmyk ? JCS_CMYK : JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, 95, TRUE);
    if (layout == Layout::Progressive)
        jpeg_simple_progression(&cinfo);
    if (layout == Layout::PlainCmyk) {
        jpeg_set_colorspace(&cinfo, JCS_CMYK);
        cinfo.write_Adobe_marker = FALSE;
    }
    jpeg_start_compress(&cinfo, TRUE);
    std::vector<unsigned char> row(std::size_t(image.width()) * cinfo.input_components);
    while (cinfo.next_scanline < cinfo.image_height) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = image.pixel(x, int(cinfo.next_scanline));
            unsigned char* out = row.data() + std::size_t(x) * cinfo.input_components;
            if (layout == Layout::Progressive) {
                out[0] = uchar(qRed(p)), out[1] = uchar(qGreen(p)), out[2] = uchar(qBlue(p));
            } else if (layout == Layout::AdobeCmyk) {
                // Adobe's inverted channels: with no black, just R, G, B and 255.
                out[0] = uchar(qRed(p)), out[1] = uchar(qGreen(p)), out[2] = uchar(qBlue(p));
                out[3] = 255;
            } else {
                out[0] = uchar(255 - qRed(p)), out[1] = uchar(255 - qGreen(p));
                out[2] = uchar(255 - qBlue(p)), out[3] = 0;
            }
        }
        JSAMPROW r = row.data();
        jpeg_write_scanlines(&cinfo, &r, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    const QByteArray data(reinterpret_cast<const char*>(bytes), qsizetype(size));
    std::free(bytes);
    return data;
}

QByteArray png() {
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    halves().save(&buffer, "PNG");
    return data;
}

bool near(QColor actual, QColor expected) {
    const int tolerance = 14;
    return qAbs(actual.red() - expected.red()) <= tolerance &&
           qAbs(actual.green() - expected.green()) <= tolerance &&
           qAbs(actual.blue() - expected.blue()) <= tolerance;
}

} // namespace

class TestPicture : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void load_data();
    void load();
    void artPictures_data();
    void artPictures();
    void unknownArtPicture();

private:
    QTemporaryDir m_dir;
};

void TestPicture::initTestCase() {
    QVERIFY(m_dir.isValid());
}

void TestPicture::load_data() {
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<bool>("onDisk");
    // Empty when the file must load; otherwise a part of the error text.
    QTest::addColumn<QString>("error");
    // Whether the bytes, kept in a database row, still give a picture.
    QTest::addColumn<bool>("blobShows");
    QTest::addColumn<QColor>("left");
    QTest::addColumn<QColor>("right");

    const QByteArray good = encodeJpeg(halves(), 90);
    const QColor none;
    const QColor darkGrey(60, 60, 60);
    const QColor lightGrey(200, 200, 200);

    QTest::newRow("baseline colour") << good << true << "" << true << kLeft << kRight;
    QTest::newRow("progressive") << foreignJpeg(Layout::Progressive) << true << "" << true << kLeft
                                 << kRight;
    QTest::newRow("190 scans") << encodeJpegScanByScan(halves(), 90) << true << "сканирания"
                               << false << none << none;
    QTest::newRow("grey-scale") << encodeJpeg(greyHalves(), 90) << true << "" << true << darkGrey
                                << lightGrey;
    QTest::newRow("CMYK with Adobe marker")
        << foreignJpeg(Layout::AdobeCmyk) << true << "" << true << kLeft << kRight;
    QTest::newRow("CMYK without Adobe marker")
        << foreignJpeg(Layout::PlainCmyk) << true << "" << true << kLeft << kRight;
    QTest::newRow("only the end marker missing")
        << good.chopped(2) << true << "" << true << kLeft << kRight;
    QTest::newRow("truncated in the picture data")
        << good.left(good.size() * 2 / 3) << true << "непълна" << false << none << none;
    QTest::newRow("truncated in the header")
        << good.left(40) << true << "непълна" << false << none << none;
    QTest::newRow("garbage") << QByteArray("това не е картина, а просто текст") << true
                             << "не е картина във формат JPEG" << false << none << none;
    QTest::newRow("segment longer than the file")
        << QByteArray("\xFF\xD8\xFF\xE0 garbage garbage garbage garbage garbage") << true
        << "непълна" << false << none << none;
    QByteArray unknownMarker = good;
    unknownMarker[3] = '\x02';
    QTest::newRow("unknown marker")
        << unknownMarker << true << "повредена" << false << none << none;
    QByteArray huge = good;
    const qsizetype frame = huge.indexOf("\xFF\xC0");
    QVERIFY(frame > 0);
    huge.replace(frame + 5, 4, QByteArray("\xEA\x60\xEA\x60", 4)); // 60000 × 60000
    QTest::newRow("header claims a giant picture")
        << huge << true << "твърде голяма" << false << none << none;
    QTest::newRow("empty file") << QByteArray() << true << "празна" << false << none << none;
    QTest::newRow("PNG") << png() << true << "не е картина във формат JPEG" << true << kLeft
                         << kRight;
    QTest::newRow("missing file") << good << false << "Липсва файлът" << true << kLeft << kRight;
}

void TestPicture::load() {
    QFETCH(QByteArray, data);
    QFETCH(bool, onDisk);
    QFETCH(QString, error);
    QFETCH(bool, blobShows);
    QFETCH(QColor, left);
    QFETCH(QColor, right);

    const QString path = m_dir.filePath(QString::fromLatin1(QTest::currentDataTag()) + ".jpg");
    if (onDisk) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QCOMPARE(file.write(data), data.size());
    }

    QImage image;
    QString text;
    try {
        image = loadJpegFile(path);
    } catch (const LayerError& e) {
        QVERIFY2(dynamic_cast<const PictureError*>(&e), "not a PictureError");
        text = e.text();
    }
    if (error.isEmpty()) {
        QVERIFY2(text.isEmpty(), qPrintable(text));
        QCOMPARE(image.size(), QSize(64, 48));
        QVERIFY2(near(image.pixelColor(12, 24), left), qPrintable(image.pixelColor(12, 24).name()));
        QVERIFY2(near(image.pixelColor(52, 24), right),
                 qPrintable(image.pixelColor(52, 24).name()));
    } else {
        QVERIFY2(text.contains(error), qPrintable(text));
        QVERIFY2(text.contains(QDir::toNativeSeparators(path)), qPrintable(text));
    }

    const QImage blob = decodePicture(data);
    QCOMPARE(!blob.isNull(), blobShows);
    if (blobShows) {
        QCOMPARE(blob.size(), QSize(64, 48));
        QVERIFY(near(blob.pixelColor(12, 24), left));
        QVERIFY(near(blob.pixelColor(52, 24), right));
    }
}

void TestPicture::artPictures_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<bool>("glyph");

    QTest::newRow("title band") << "title" << QSize(494, 56) << false;
    QTest::newRow("splash") << "splash" << QSize(300, 200) << false;
    QTest::newRow("information header") << "about" << QSize(364, 111) << false;
    QTest::newRow("test glyph") << "test-glyph" << QSize(32, 32) << true;
    QTest::newRow("tutor glyph") << "tutor-glyph" << QSize(32, 32) << true;
    QTest::newRow("remove word") << "remove-word" << QSize(19, 19) << true;
    QTest::newRow("term arrow") << "arrow" << QSize(20, 44) << true;
}

void TestPicture::artPictures() {
    QFETCH(QString, name);
    QFETCH(QSize, size);
    QFETCH(bool, glyph);

    QVERIFY(artPictureNames().contains(name));
    const QImage image = artPicture(name);
    QCOMPARE(image.size(), size);
    QCOMPARE(image.hasAlphaChannel(), glyph);
    if (glyph) {
        // Clear at the corner, where the button shows through; solid in the middle.
        QCOMPARE(qAlpha(image.pixel(0, 0)), 0);
        QCOMPARE(qAlpha(image.pixel(size.width() / 2, size.height() / 2)), 255);
    }
}

void TestPicture::unknownArtPicture() {
    QCOMPARE(artPictureNames().size(), 7);
    try {
        artPicture(QStringLiteral("няма-такава"));
        QFAIL("no error for an unknown picture");
    } catch (const PictureError& e) {
        QVERIFY2(e.text().contains(QStringLiteral("няма-такава")), qPrintable(e.text()));
    }
}

QTEST_GUILESS_MAIN(TestPicture)
#include "tst_picture.moc"
