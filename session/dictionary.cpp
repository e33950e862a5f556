#include "dictionary.h"

#include "store/datamodule.h"
#include "store/error.h"
#include "store/jetsql.h"

namespace {

const QString kWord = QStringLiteral("Word");

void openDictionary(TDataModule2& dm, const QString& choice) {
    Query& dicts = dm.Dicts;
    dicts.close();
    dicts.setConnectionString(dm.connectionString(DbFile::Dict));
    dicts.setSql({QStringLiteral("select * from dicts")});
    dicts.open();
    if (dicts.recordCount() == 0) {
        dicts.close();
        throw StoreError(
            QStringLiteral("В речника няма нито една таблица с думи (dicts е празна)."));
    }
    if (choice.isEmpty() || !dicts.locate(QStringLiteral("Table"), choice))
        dicts.first();
    const QString table = dicts.text(QStringLiteral("Table"));
    dicts.close();

    Query& dict = dm.Dict;
    dict.close();
    dict.setConnectionString(dm.connectionString(DbFile::Dict));
    dict.setSql({QStringLiteral("select * from ") + quoteName(table)});
    try {
        dict.open();
    } catch (...) {
        dict.close();
        throw;
    }
}

} // namespace

QString lookUpWord(TDataModule2& dm, const QString& choice, const QString& word) {
    Query& dict = dm.Dict;
    if (!dict.isOpen()) {
        try {
            openDictionary(dm, choice);
        } catch (const StoreError& e) {
            throw StoreError(QStringLiteral("Речникът не може да се отвори; опитайте пак по-късно "
                                            "или се обърнете към учителя.\r%1")
                                 .arg(e.text()));
        }
    }
    if (word.isEmpty())
        return kUnknownWord;
    if (dict.locate(kWord, word))
        return dict.text(QStringLiteral("Trans"));
    // The engine folds case for Latin letters only: the rest of the
    // comparison is done here, over the words of the table.
    for (dict.first(); !dict.eof(); dict.next())
        if (dict.text(kWord).compare(word, Qt::CaseInsensitive) == 0)
            return dict.text(QStringLiteral("Trans"));
    return kUnknownWord;
}
