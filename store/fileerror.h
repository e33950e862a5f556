#pragma once

#include <QString>

class QFileDevice;

// Why a file could not be opened, read or written, in words a teacher reads,
// with the system's own text after it in quotes for whoever looks further.
QString fileFault(const QFileDevice& file);
