// The statement translator: any text is translated or refused with the
// store's error, and a quoted table name can never change a statement.
#include "check.h"

#include "store/error.h"
#include "store/jetsql.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));

    bool translated = false;
    try {
        translateJet(text);
        translated = true;
    } catch (const StoreError&) {
    }
    try {
        const SimpleSelect s = analyseSelect(text);
        check(translated);
        // "[]" is a table name as the engine sees it, if none it holds.
        if (s.simple)
            check(!s.table.isEmpty());
    } catch (const StoreError&) {
        check(!translated);
    }

    QString quoted;
    try {
        quoted = quoteName(text);
    } catch (const StoreError&) {
        return 0;
    }
    const QString tail = QStringLiteral(" where test=1 order by num");
    const SimpleSelect s = analyseSelect(QStringLiteral("select * from ") + quoted + tail);
    check(s.simple);
    check(s.tableName == text);
    check(s.table == sqlIdent(text));
    check(s.tail == tail);
    check(translateJet(QStringLiteral("delete * from ") + quoted) ==
          QStringLiteral("delete  from ") + sqlIdent(text));
    return 0;
}
