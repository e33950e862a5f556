#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>
#include <functional>

class QImage;

namespace bank {

// The pictures read for a build by their real path: each is read, decoded
// and checked once, and its bytes are held once, however many questions
// name it.
class PictureCache {
public:
    struct Entry {
        QByteArray data;
        std::function<QString(const QString& name)> fault; // why there are no bytes
    };
    const Entry* find(const QString& path) const {
        const auto it = m_entries.constFind(path);
        return it == m_entries.cend() ? nullptr : &*it;
    }
    const Entry* insert(const QString& path, Entry entry) {
        return &*m_entries.insert(path, std::move(entry));
    }

private:
    QHash<QString, Entry> m_entries;
};

// The largest side, in pixels, of a picture as a bank stores it. The session
// shows a question's picture at most this large; a phone photo kept whole
// (4000 × 3000) would make every drawn question hold 48 MB once decoded.
constexpr int kMaxPictureSide = 1024;

// JPEG quality of a picture the bank scales down or converts: no artefacts
// a pupil would see at that size, a few hundred kilobytes at most.
constexpr int kPictureQuality = 90;

// `image` when it fits within kMaxPictureSide, else scaled down to fit, its
// aspect ratio kept.
QImage fittedPicture(const QImage& image);

// The bytes to store for a picture read from `data` and decoded as `image`:
// the very bytes when it fits, else the picture scaled down as JPEG. Throws
// PictureError when the encoder fails.
QByteArray storedPicture(const QByteArray& data, const QImage& image);

} // namespace bank
