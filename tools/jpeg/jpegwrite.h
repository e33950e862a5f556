#pragma once

class QByteArray;
class QImage;

// Compresses an image as a baseline JPEG (quality 1…100) for the tools and
// tests that make pictures; the program itself only reads them. A grey-scale
// image (QImage::Format_Grayscale8) gives a one-channel JPEG; transparent
// parts become white. Throws PictureError when libjpeg fails (out of memory).
QByteArray encodeJpeg(const QImage& image, int quality);
