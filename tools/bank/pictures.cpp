#include "pictures.h"

#include "tools/jpeg/jpegwrite.h"

#include <QByteArray>
#include <QImage>

namespace bank {

QImage fittedPicture(const QImage& image) {
    if (image.width() <= kMaxPictureSide && image.height() <= kMaxPictureSide)
        return image;
    return image.scaled(kMaxPictureSide, kMaxPictureSide, Qt::KeepAspectRatio,
                        Qt::SmoothTransformation);
}

QByteArray storedPicture(const QByteArray& data, const QImage& image) {
    const QImage fitted = fittedPicture(image);
    if (fitted.size() == image.size())
        return data;
    return encodeJpeg(fitted, kPictureQuality);
}

} // namespace bank
