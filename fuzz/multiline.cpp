// Multi-line columns: whatever a value holds, splitting and joining agree.
#include "check.h"

#include "store/multiline.h"

#include <cstdint>
#include <cstdlib>

namespace {

// The stored form of any value: every break CR LF, the last item ended too.
QString normalised(const QString& value) {
    QString s = value;
    s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    s.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    if (!s.isEmpty() && !s.endsWith(QLatin1Char('\n')))
        s += QLatin1Char('\n');
    s.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return s;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString value = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));

    const QStringList items = splitLines(value);
    for (const QString& item : items)
        check(!item.contains(QLatin1Char('\r')) && !item.contains(QLatin1Char('\n')));
    const QString stored = joinLines(items);
    check(stored == normalised(value));
    check(splitLines(stored) == items);

    // Any list of items without breaks comes back as it went in, empty ones too.
    QStringList list = value.split(QChar(u'\0'));
    list.removeIf([](const QString& s) {
        return s.contains(QLatin1Char('\r')) || s.contains(QLatin1Char('\n'));
    });
    check(splitLines(joinLines(list)) == list);
    return 0;
}
