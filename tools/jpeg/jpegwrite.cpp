#include "jpegwrite.h"

#include "media/picture.h"

#include <QByteArray>
#include <QImage>
#include <QPainter>

#include <csetjmp>
#include <cstdlib>
#include <memory>

// jpeglib.h uses FILE and size_t without including their headers.
#include <cstddef>
#include <cstdio>
#include <jpeglib.h>

namespace {

struct ErrorManager {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
};

[[noreturn]] void leaveEncoder(j_common_ptr cinfo) {
    std::longjmp(reinterpret_cast<ErrorManager*>(cinfo->err)->jump, 1);
}

void noOutput(j_common_ptr) {}

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
        leaveEncoder(reinterpret_cast<j_common_ptr>(cinfo));
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
    bool scanByScan;
};

// One scan of the averages (DC) of all channels, then one per channel and
// coefficient, each sent whole: no successive approximation.
constexpr int kMaxScanByScan = 1 + 3 * (DCTSIZE2 - 1);

int scanByScanScript(int channels, jpeg_scan_info* script) {
    script[0].comps_in_scan = channels;
    for (int c = 0; c < channels; ++c)
        script[0].component_index[c] = c;
    script[0].Ss = script[0].Se = script[0].Ah = script[0].Al = 0;
    int n = 1;
    for (int c = 0; c < channels; ++c)
        for (int k = 1; k < DCTSIZE2; ++k, ++n) {
            script[n].comps_in_scan = 1;
            script[n].component_index[0] = c;
            script[n].Ss = script[n].Se = k;
            script[n].Ah = script[n].Al = 0;
        }
    return n;
}

// A longjmp out of libjpeg skips destructors, so nothing in this function may
// have one: plain C structures and malloc only.
bool encodeRaw(const RawInput& in, int quality, Destination* dest, std::size_t* size) {
    jpeg_compress_struct cinfo;
    ErrorManager err;
    jpeg_std_error(&err.pub);
    err.pub.error_exit = leaveEncoder;
    err.pub.output_message = noOutput;
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
    jpeg_scan_info script[kMaxScanByScan];
    if (in.scanByScan) {
        cinfo.scan_info = script;
        cinfo.num_scans = scanByScanScript(cinfo.num_components, script);
    }
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

} // namespace

namespace {

QByteArray encode(const QImage& image, int quality, bool scanByScan) {
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
    const RawInput in{
        rows.constBits(), std::size_t(rows.bytesPerLine()), rows.width(), rows.height(), grey,
        scanByScan};
    Destination dest{};
    std::size_t size = 0;
    if (!encodeRaw(in, qBound(1, quality, 100), &dest, &size))
        throw PictureError(QStringLiteral("Картината не може да бъде записана във формат JPEG."));
    const std::unique_ptr<unsigned char, decltype(&std::free)> owned(dest.bytes, &std::free);
    return QByteArray(reinterpret_cast<const char*>(dest.bytes), qsizetype(size));
}

} // namespace

QByteArray encodeJpeg(const QImage& image, int quality) {
    return encode(image, quality, false);
}

QByteArray encodeJpegScanByScan(const QImage& image, int quality) {
    return encode(image, quality, true);
}
