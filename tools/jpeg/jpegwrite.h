#pragma once

class QByteArray;
class QImage;

// Compresses an image as a baseline JPEG (quality 1…100) for the tools and
// tests that make pictures; the program itself only reads them. A grey-scale
// image (QImage::Format_Grayscale8) gives a one-channel JPEG; transparent
// parts become white. Throws PictureError when libjpeg fails (out of memory).
QByteArray encodeJpeg(const QImage& image, int quality);

// As encodeJpeg, but progressive, with every coefficient of every channel in
// a scan of its own after one shared scan of the block averages: 190 scans
// for colour, 64 for grey. A lawful file, yet ten times or more the scans any
// ordinary encoder writes: what the tests offer in place of a picture made to
// stall the decoder.
QByteArray encodeJpegScanByScan(const QImage& image, int quality);
