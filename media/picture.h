#pragma once

#include "store/error.h"

// QString, through error.h, also declares QStringList.
class QByteArray;
class QImage;
class QSize;

// A picture that cannot be read or decoded. The text names the file (or the
// picture) and says what is wrong with it.
class PictureError : public LayerError {
public:
    using LayerError::LayerError;
};

// Reads and decodes a JPEG file. Throws PictureError for a missing, unreadable,
// empty, truncated or damaged file, and for anything that is not a JPEG.
QImage loadJpegFile(const QString& path);

// Decodes JPEG bytes; `what` names them in the error text (a path or a title).
// Grey-scale and CMYK pictures come back as RGB like the others.
QImage decodeJpeg(const QByteArray& data, const QString& what);

// A picture kept in a database row. JPEG goes through the same decoder as the
// files, any other format through QImage. Empty or damaged bytes give a null
// image: a question with a broken picture is still shown, without it.
QImage decodePicture(const QByteArray& blob);

// As decodePicture, but no larger than `bound`: a bigger picture comes back
// scaled down to fit it, proportions kept. A large JPEG is decoded at one of
// libjpeg's reduced scales, so the whole picture is never held in memory.
QImage decodePicture(const QByteArray& blob, const QSize& bound);

// The picture's own size, read from its header without decoding it; an
// invalid size for bytes that hold no picture that can be read.
QSize pictureSize(const QByteArray& blob);

// The pictures built into the program for its windows: "title" (main window's
// band), "splash", "about" (information window's header, background only),
// "test-glyph", "tutor-glyph", "remove-word" and "arrow" (the term page's).
// The glyphs are PNG and come with their transparency, the rest are JPEG.
// Throws PictureError for a name that is not built in.
QImage artPicture(const QString& name);

// The names artPicture() knows, sorted.
QStringList artPictureNames();
