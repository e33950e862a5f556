#include "picture.h"

#include <QBuffer>
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QString>
#include <QStringList>

#include <csetjmp>
#include <cstdlib>
#include <memory>

// jpeglib.h uses FILE and size_t without including their headers.
#include <cstddef>
#include <cstdio>
#include <jerror.h>
#include <jpeglib.h>

namespace {

// Far beyond any picture of a test or a window; a header that claims more is
// damaged or hostile, and believing it would only exhaust memory.
constexpr unsigned long long kMaxPixels = 40ULL * 1000 * 1000;
constexpr qint64 kMaxFileBytes = 64LL * 1024 * 1024;

// Every scan of a progressive picture makes the decoder walk all of its
// blocks again, so a small file of thousands of scans freezes the program for
// seconds to minutes. Ordinary encoders write about ten (libjpeg's own
// progression at most ten); even a hand-tuned script stays within a few
// dozen. A hundred leaves room for those; it refuses a small picture at once
// and one at the pixel ceiling within a couple of seconds.
constexpr int kMaxScans = 100;

enum class Fault { None, Empty, NotJpeg, Truncated, TooLarge, TooManyScans, Damaged };

struct ErrorManager {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
    int code;
    bool ranOut;       // the data ended before the decoder was done with it
    bool tooManyScans; // stopped by watchScans()
};

[[noreturn]] void leaveDecoder(j_common_ptr cinfo) {
    auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
    err->code = err->pub.msg_code;
    std::longjmp(err->jump, 1);
}

// libjpeg only warns when the picture data stops early and paints the rest
// grey; such a picture is refused as incomplete. Running out of bytes alone
// is no fault: a file that lacks nothing but its end marker shows perfectly.
// Every other warning stays quiet (the default prints to stderr) and the
// picture is shown as libjpeg recovers it.
void onMessage(j_common_ptr cinfo, int level) {
    if (level >= 0)
        return;
    auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
    if (err->pub.msg_code == JWRN_JPEG_EOF)
        err->ranOut = true;
    else if (err->pub.msg_code == JWRN_HIT_MARKER)
        leaveDecoder(cinfo);
}

void noOutput(j_common_ptr) {}

void installErrorManager(ErrorManager* err) {
    jpeg_std_error(&err->pub);
    err->pub.error_exit = leaveDecoder;
    err->pub.emit_message = onMessage;
    err->pub.output_message = noOutput;
    err->code = 0;
    err->ranOut = false;
    err->tooManyScans = false;
}

// libjpeg calls the progress monitor before it reads on, also after every
// start of a scan, so the count is checked before the scan beyond it is
// decoded.
void watchScans(j_common_ptr cinfo) {
    if (reinterpret_cast<j_decompress_ptr>(cinfo)->input_scan_number <= kMaxScans)
        return;
    reinterpret_cast<ErrorManager*>(cinfo->err)->tooManyScans = true;
    leaveDecoder(cinfo);
}

Fault faultOf(const ErrorManager& err) {
    if (err.tooManyScans)
        return Fault::TooManyScans;
    switch (err.code) {
    case JERR_INPUT_EMPTY:
        return Fault::Empty;
    case JERR_NO_SOI:
        return Fault::NotJpeg;
    case JERR_IMAGE_TOO_BIG:
    case JERR_WIDTH_OVERFLOW:
    case JERR_OUT_OF_MEMORY:
        return Fault::TooLarge;
    default:
        // Whatever libjpeg stumbled on after the data ended was the stand-in
        // end marker it puts there, not a fault of the file's own bytes.
        return err.ranOut || err.code == JWRN_HIT_MARKER || err.code == JERR_INPUT_EOF
                   ? Fault::Truncated
                   : Fault::Damaged;
    }
}

struct RawPicture {
    unsigned char* pixels; // malloc'd; rows of width * components bytes
    unsigned width;
    unsigned height;
    int components;    // 3: RGB, 4: CMYK
    bool invertedCmyk; // Adobe's CMYK files store every channel inverted
};

// libjpeg's reduced scales that keep every picture's proportions exact.
constexpr unsigned kScaleDenoms[] = {8, 4, 2};

// The size libjpeg gives at 1/denom: it rounds up.
unsigned scaledSide(unsigned side, unsigned denom) {
    return (side + denom - 1) / denom;
}

// The picture's own size scaled down, proportions kept, to lie within
// `bound`; a picture that fits keeps its size.
QSize fitWithin(QSize own, QSize bound) {
    if (!bound.isValid() || (own.width() <= bound.width() && own.height() <= bound.height()))
        return own;
    return own.scaled(bound.expandedTo(QSize(1, 1)), Qt::KeepAspectRatio).expandedTo(QSize(1, 1));
}

// The smallest reduced scale at which the decoded picture still covers what
// is shown of it within `bound`, so that scaling it down loses nothing.
unsigned scaleFor(unsigned width, unsigned height, QSize bound) {
    if (!bound.isValid())
        return 1;
    const QSize shown = fitWithin(QSize(int(width), int(height)), bound);
    for (unsigned denom : kScaleDenoms)
        if (scaledSide(width, denom) >= unsigned(shown.width()) &&
            scaledSide(height, denom) >= unsigned(shown.height()))
            return denom;
    return 1;
}

// A longjmp out of libjpeg skips destructors, so nothing in this function may
// have one: plain C structures and malloc only. With `headerOnly` only the
// size is read; with a valid `bound` the picture is decoded at the smallest
// reduced scale that still covers it.
Fault decodeRaw(const unsigned char* data, unsigned long size, RawPicture* out,
                QSize bound = QSize(), bool headerOnly = false) {
    jpeg_decompress_struct cinfo;
    ErrorManager err;
    installErrorManager(&err);
    cinfo.err = &err.pub;
    jpeg_progress_mgr progress{};
    progress.progress_monitor = watchScans;
    out->pixels = nullptr;
    if (setjmp(err.jump)) {
        jpeg_destroy_decompress(&cinfo);
        std::free(out->pixels);
        out->pixels = nullptr;
        return faultOf(err);
    }
    jpeg_create_decompress(&cinfo);
    cinfo.progress = &progress;
    jpeg_mem_src(&cinfo, data, size);
    jpeg_read_header(&cinfo, TRUE);

    const bool cmyk = cinfo.jpeg_color_space == JCS_CMYK || cinfo.jpeg_color_space == JCS_YCCK;
    cinfo.out_color_space = cmyk ? JCS_CMYK : JCS_RGB;
    if (static_cast<unsigned long long>(cinfo.image_width) * cinfo.image_height > kMaxPixels) {
        jpeg_destroy_decompress(&cinfo);
        return Fault::TooLarge;
    }
    if (headerOnly) {
        out->width = cinfo.image_width;
        out->height = cinfo.image_height;
        jpeg_destroy_decompress(&cinfo);
        return Fault::None;
    }
    cinfo.scale_num = 1;
    cinfo.scale_denom = scaleFor(cinfo.image_width, cinfo.image_height, bound);
    jpeg_start_decompress(&cinfo);

    const std::size_t stride = std::size_t(cinfo.output_width) * cinfo.output_components;
    out->pixels = static_cast<unsigned char*>(std::malloc(stride * cinfo.output_height));
    if (!out->pixels) {
        jpeg_destroy_decompress(&cinfo);
        return Fault::TooLarge;
    }
    while (cinfo.output_scanline < cinfo.output_height) {
        JSAMPROW row = out->pixels + stride * cinfo.output_scanline;
        jpeg_read_scanlines(&cinfo, &row, 1);
    }
    out->width = cinfo.output_width;
    out->height = cinfo.output_height;
    out->components = cinfo.output_components;
    out->invertedCmyk = cmyk && cinfo.saw_Adobe_marker;
    // Not jpeg_finish_decompress: every row is in, and what may follow them
    // is no concern of the picture.
    jpeg_destroy_decompress(&cinfo);
    return Fault::None;
}

QImage toImage(const RawPicture& raw) {
    QImage image(int(raw.width), int(raw.height), QImage::Format_RGB32);
    if (image.isNull())
        return image;
    const std::size_t stride = std::size_t(raw.width) * raw.components;
    for (unsigned y = 0; y < raw.height; ++y) {
        const unsigned char* in = raw.pixels + stride * y;
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(int(y)));
        for (unsigned x = 0; x < raw.width; ++x, in += raw.components) {
            if (raw.components == 3) {
                line[x] = qRgb(in[0], in[1], in[2]);
            } else if (raw.invertedCmyk) {
                const int k = in[3];
                line[x] = qRgb(in[0] * k / 255, in[1] * k / 255, in[2] * k / 255);
            } else {
                const int k = 255 - in[3];
                line[x] =
                    qRgb((255 - in[0]) * k / 255, (255 - in[1]) * k / 255, (255 - in[2]) * k / 255);
            }
        }
    }
    return image;
}

QString faultText(Fault fault, const QString& what) {
    switch (fault) {
    case Fault::Empty:
        return QStringLiteral("Картината „%1“ е празна: в нея няма данни.").arg(what);
    case Fault::NotJpeg:
        return QStringLiteral("„%1“ не е картина във формат JPEG.").arg(what);
    case Fault::Truncated:
        return QStringLiteral("Картината „%1“ е непълна: данните ѝ свършват преждевременно.")
            .arg(what);
    case Fault::TooLarge:
        return QStringLiteral("Картината „%1“ е твърде голяма, за да бъде показана.").arg(what);
    case Fault::TooManyScans:
        return QStringLiteral("Картината „%1“ е записана на твърде много сканирания (над %2, "
                              "а обикновената картина има около десет) и не може да бъде "
                              "показана.")
            .arg(what)
            .arg(kMaxScans);
    case Fault::Damaged:
    case Fault::None:
        break;
    }
    return QStringLiteral("Картината „%1“ е повредена и не може да бъде показана.").arg(what);
}

// The start-of-image marker alone, as Qt's own readers decide: whatever they
// would take for a JPEG is decoded here instead.
bool looksLikeJpeg(const QByteArray& data) {
    return data.size() >= 2 && uchar(data[0]) == 0xFF && uchar(data[1]) == 0xD8;
}

const QString kArtFolder = QStringLiteral(":/art/");

QImage decodeJpegWithin(const QByteArray& data, const QString& what, QSize bound) {
    if (data.isEmpty())
        throw PictureError(faultText(Fault::Empty, what));
    RawPicture raw{};
    const Fault fault = decodeRaw(reinterpret_cast<const unsigned char*>(data.constData()),
                                  static_cast<unsigned long>(data.size()), &raw, bound);
    const std::unique_ptr<unsigned char, decltype(&std::free)> owned(raw.pixels, &std::free);
    if (fault != Fault::None)
        throw PictureError(faultText(fault, what));
    QImage image = toImage(raw);
    if (image.isNull())
        throw PictureError(faultText(Fault::TooLarge, what));
    const QSize shown = fitWithin(image.size(), bound);
    if (shown != image.size())
        image = image.scaled(shown, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    return image;
}

} // namespace

QImage decodeJpeg(const QByteArray& data, const QString& what) {
    return decodeJpegWithin(data, what, QSize());
}

QImage loadJpegFile(const QString& path) {
    const QString shown = QDir::toNativeSeparators(path);
    const QFileInfo info(path);
    if (!info.exists())
        throw PictureError(QStringLiteral("Липсва файлът с картина „%1“.").arg(shown));
    if (info.isDir())
        throw PictureError(QStringLiteral("„%1“ е папка, а не файл с картина.").arg(shown));
    if (info.size() > kMaxFileBytes)
        throw PictureError(faultText(Fault::TooLarge, shown));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw PictureError(
            QStringLiteral("Файлът с картина „%1“ не може да бъде отворен за четене.").arg(shown));
    const QByteArray data = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw PictureError(
            QStringLiteral("Файлът с картина „%1“ не може да бъде прочетен.").arg(shown));
    return decodeJpeg(data, shown);
}

QImage decodePicture(const QByteArray& blob) {
    return decodePicture(blob, QSize());
}

QImage decodePicture(const QByteArray& blob, const QSize& bound) {
    if (blob.isEmpty())
        return QImage();
    if (!looksLikeJpeg(blob)) {
        QBuffer buffer;
        buffer.setData(blob);
        QImageReader reader(&buffer);
        const QSize shown = fitWithin(reader.size(), bound);
        if (shown.isValid() && shown != reader.size())
            reader.setScaledSize(shown);
        return reader.read();
    }
    try {
        return decodeJpegWithin(blob, QString(), bound);
    } catch (const PictureError&) {
        return QImage();
    }
}

QSize pictureSize(const QByteArray& blob) {
    if (blob.isEmpty())
        return QSize();
    if (!looksLikeJpeg(blob)) {
        QBuffer buffer;
        buffer.setData(blob);
        return QImageReader(&buffer).size();
    }
    RawPicture raw{};
    if (decodeRaw(reinterpret_cast<const unsigned char*>(blob.constData()),
                  static_cast<unsigned long>(blob.size()), &raw, QSize(), true) != Fault::None)
        return QSize();
    return QSize(int(raw.width), int(raw.height));
}

QImage artPicture(const QString& name) {
    if (!name.isEmpty() && !name.contains(QLatin1Char('/'))) {
        QFile png(kArtFolder + name + QStringLiteral(".png"));
        if (png.open(QIODevice::ReadOnly)) {
            QImage image;
            if (!image.loadFromData(png.readAll(), "PNG"))
                throw PictureError(faultText(Fault::Damaged, name));
            return image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
        }
        QFile jpeg(kArtFolder + name + QStringLiteral(".jpg"));
        if (jpeg.open(QIODevice::ReadOnly))
            return decodeJpeg(jpeg.readAll(), name);
    }
    throw PictureError(QStringLiteral("Липсва вградената картина „%1“.").arg(name));
}

QStringList artPictureNames() {
    QStringList names;
    const QStringList files = QDir(kArtFolder).entryList(QDir::Files, QDir::Name);
    for (const QString& file : files)
        names << QFileInfo(file).completeBaseName();
    names.sort();
    return names;
}
