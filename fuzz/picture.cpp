// The picture loader: any bytes give a picture or a clear refusal, never a
// crash, and a picture in a row is shown exactly when the decoder takes it.
#include "check.h"

#include "media/picture.h"

#include <QByteArray>
#include <QImage>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    bool decoded = false;
    try {
        const QImage image = decodeJpeg(bytes, QStringLiteral("fuzz.jpg"));
        check(!image.isNull());
        decoded = true;
    } catch (const PictureError& e) {
        check(!e.text().isEmpty());
    }
    const QImage shown = decodePicture(bytes);
    if (size >= 2 && data[0] == 0xFF && data[1] == 0xD8)
        check(shown.isNull() != decoded);
    return 0;
}
