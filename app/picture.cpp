#include "picture.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
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

enum class Fault { None, Empty, NotJpeg, Truncated, TooLarge, Damaged };

struct ErrorManager {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
    int code;
    bool ranOut; // the data ended before the decoder was done with it
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
}

Fault faultOf(const ErrorManager& err) {
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

// A longjmp out of libjpeg skips destructors, so nothing in this function may
// have one: plain C structures and malloc only.
Fault decodeRaw(const unsigned char* data, unsigned long size, RawPicture* out) {
    jpeg_decompress_struct cinfo;
    ErrorManager err;
    installErrorManager(&err);
    cinfo.err = &err.pub;
    out->pixels = nullptr;
    if (setjmp(err.jump)) {
        jpeg_destroy_decompress(&cinfo);
        std::free(out->pixels);
        out->pixels = nullptr;
        return faultOf(err);
    }
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, data, size);
    jpeg_read_header(&cinfo, TRUE);

    const bool cmyk = cinfo.jpeg_color_space == JCS_CMYK || cinfo.jpeg_color_space == JCS_YCCK;
    cinfo.out_color_space = cmyk ? JCS_CMYK : JCS_RGB;
    if (static_cast<unsigned long long>(cinfo.image_width) * cinfo.image_height > kMaxPixels) {
        jpeg_destroy_decompress(&cinfo);
        return Fault::TooLarge;
    }
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

// Output into a buffer of our own: libjpeg's memory destination frees and
// replaces its buffer behind the caller's back, which leaks or double-frees
// when an error leaves the compressor half-way.
struct Destination {
    jpeg_destination_mgr pub;
    unsigned char* bytes;
    std::size_t capacity;
};

void startDestination(j_compress_ptr) {}
void endDestination(j_compress_ptr) {}

boolean growDestination(j_compress_ptr cinfo) {
    auto* d = reinterpret_cast<Destination*>(cinfo->dest);
    const std::size_t used = d->capacity;
    const std::size_t bigger = d->capacity * 2;
    auto* grown = static_cast<unsigned char*>(std::realloc(d->bytes, bigger));
    if (!grown)
        leaveDecoder(reinterpret_cast<j_common_ptr>(cinfo));
    d->bytes = grown;
    d->capacity = bigger;
    d->pub.next_output_byte = grown + used;
    d->pub.free_in_buffer = bigger - used;
    return TRUE;
}

struct RawInput {
    const unsigned char* rows; // first row; `stride` bytes to the next
    std::size_t stride;
    int width;
    int height;
    bool grey;
};

// Same rule as decodeRaw(): no object with a destructor lives here.
bool encodeRaw(const RawInput& in, int quality, Destination* dest, std::size_t* size) {
    jpeg_compress_struct cinfo;
    ErrorManager err;
    installErrorManager(&err);
    cinfo.err = &err.pub;
    dest->capacity = 64 * 1024;
    dest->bytes = static_cast<unsigned char*>(std::malloc(dest->capacity));
    if (!dest->bytes)
        return false;
    if (setjmp(err.jump)) {
        jpeg_destroy_compress(&cinfo);
        std::free(dest->bytes);
        dest->bytes = nullptr;
        return false;
    }
    jpeg_create_compress(&cinfo);
    dest->pub.init_destination = startDestination;
    dest->pub.empty_output_buffer = growDestination;
    dest->pub.term_destination = endDestination;
    dest->pub.next_output_byte = dest->bytes;
    dest->pub.free_in_buffer = dest->capacity;
    cinfo.dest = &dest->pub;

    cinfo.image_width = JDIMENSION(in.width);
    cinfo.image_height = JDIMENSION(in.height);
    cinfo.input_components = in.grey ? 1 : 3;
    cinfo.in_color_space = in.grey ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, quality, TRUE);
    cinfo.optimize_coding = TRUE;
    // Full-resolution colour: the pictures are small and full of sharp
    // coloured edges and lettering, which halved chroma smears.
    if (!in.grey)
        cinfo.comp_info[0].h_samp_factor = cinfo.comp_info[0].v_samp_factor = 1;
    jpeg_start_compress(&cinfo, TRUE);
    while (cinfo.next_scanline < cinfo.image_height) {
        auto row = const_cast<JSAMPROW>(in.rows + in.stride * cinfo.next_scanline);
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    *size = dest->capacity - dest->pub.free_in_buffer;
    jpeg_destroy_compress(&cinfo);
    return true;
}

const QString kArtFolder = QStringLiteral(":/art/");
const QString kMaskSuffix = QStringLiteral(".mask.jpg");

} // namespace

QImage decodeJpeg(const QByteArray& data, const QString& what) {
    if (data.isEmpty())
        throw PictureError(faultText(Fault::Empty, what));
    RawPicture raw{};
    const Fault fault = decodeRaw(reinterpret_cast<const unsigned char*>(data.constData()),
                                  static_cast<unsigned long>(data.size()), &raw);
    const std::unique_ptr<unsigned char, decltype(&std::free)> owned(raw.pixels, &std::free);
    if (fault != Fault::None)
        throw PictureError(faultText(fault, what));
    QImage image = toImage(raw);
    if (image.isNull())
        throw PictureError(faultText(Fault::TooLarge, what));
    return image;
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
    if (blob.isEmpty())
        return QImage();
    if (!looksLikeJpeg(blob))
        return QImage::fromData(blob);
    try {
        return decodeJpeg(blob, QString());
    } catch (const PictureError&) {
        return QImage();
    }
}

QByteArray encodeJpeg(const QImage& image, int quality) {
    if (image.isNull())
        return QByteArray();
    const bool grey = image.format() == QImage::Format_Grayscale8;
    QImage rows;
    if (grey) {
        rows = image;
    } else if (image.hasAlphaChannel()) {
        rows = QImage(image.size(), QImage::Format_RGB888);
        rows.fill(Qt::white);
        QPainter painter(&rows);
        painter.drawImage(0, 0, image);
    } else {
        rows = image.convertToFormat(QImage::Format_RGB888);
    }
    const RawInput in{rows.constBits(), std::size_t(rows.bytesPerLine()), rows.width(),
                      rows.height(), grey};
    Destination dest{};
    std::size_t size = 0;
    if (!encodeRaw(in, qBound(1, quality, 100), &dest, &size))
        throw PictureError(QStringLiteral("Картината не може да бъде записана във формат JPEG."));
    const std::unique_ptr<unsigned char, decltype(&std::free)> owned(dest.bytes, &std::free);
    return QByteArray(reinterpret_cast<const char*>(dest.bytes), qsizetype(size));
}

QImage artPicture(const QString& name) {
    QFile file(kArtFolder + name + QStringLiteral(".jpg"));
    if (name.isEmpty() || name.contains(QLatin1Char('/')) || !file.open(QIODevice::ReadOnly))
        throw PictureError(QStringLiteral("Липсва вградената картина „%1“.").arg(name));
    const QImage image = decodeJpeg(file.readAll(), name);

    // JPEG has no transparency, so a glyph carries its outline as a second,
    // grey picture: white where the glyph is, black where the button shows.
    QFile maskFile(kArtFolder + name + kMaskSuffix);
    if (!maskFile.open(QIODevice::ReadOnly))
        return image;
    return joinOutline(image, decodeJpeg(maskFile.readAll(), name), name);
}

QImage joinOutline(const QImage& colours, const QImage& outline, const QString& what) {
    if (colours.size() != outline.size())
        throw PictureError(faultText(Fault::Damaged, what));
    QImage image = colours.convertToFormat(QImage::Format_ARGB32);
    const QImage mask = outline.convertToFormat(QImage::Format_Grayscale8);
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        const uchar* alphaLine = mask.constScanLine(y);
        for (int x = 0; x < image.width(); ++x) {
            // Compression noise must not leave a faint haze around the glyph.
            const int alpha = alphaLine[x] < 12 ? 0 : alphaLine[x] > 243 ? 255 : alphaLine[x];
            line[x] = qRgba(qRed(line[x]), qGreen(line[x]), qBlue(line[x]), alpha);
        }
    }
    return image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

QStringList artPictureNames() {
    QStringList names;
    const QStringList files =
        QDir(kArtFolder).entryList({QStringLiteral("*.jpg")}, QDir::Files, QDir::Name);
    for (const QString& file : files) {
        if (!file.endsWith(kMaskSuffix))
            names << file.chopped(4);
    }
    return names;
}
