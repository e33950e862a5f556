#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

#include <cstdlib>

// A rule of the code under test that an input broke: the fuzzer keeps the
// input that did it.
inline void check(bool ok) {
    if (!ok)
        std::abort();
}

// Puts a source or picture where the code under test reads it.
inline void writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    check(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    check(f.write(bytes) == bytes.size());
}
