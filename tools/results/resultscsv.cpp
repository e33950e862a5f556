#include "resultscsv.h"

#include "store/connection.h"
#include "store/connstr.h"
#include "store/error.h"
#include "store/fileerror.h"
#include "store/pupil.h"
#include "store/pupilversion.h"
#include "store/query.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QTemporaryDir>
#include <QTextStream>
#include <charconv>
#include <cmath>
#include <filesystem>
#include <optional>

namespace resultscsv {

namespace {

// A grade as stored, "4.500" or "4,500"; nothing when it is no number.
std::optional<double> storedGrade(const QString& val) {
    // The program writes a grade as digits around one separator. Those are
    // read without the general number parser, which an export of a hundred
    // thousand records would otherwise spend a good part of its time in.
    const QStringView t = QStringView(val).trimmed();
    char plain[32];
    if (t.size() < qsizetype(sizeof plain)) {
        qsizetype point = -1;
        bool digits = !t.isEmpty();
        for (qsizetype i = 0; i < t.size() && digits; ++i) {
            const char16_t c = t[i].unicode();
            if (c == u',' || c == u'.') {
                digits = point < 0 && i > 0 && i + 1 < t.size();
                point = i;
                plain[i] = '.';
            } else {
                digits = c >= u'0' && c <= u'9';
                plain[i] = char(c);
            }
        }
        double g = 0;
        if (digits && std::from_chars(plain, plain + t.size(), g).ec == std::errc())
            return g;
    }
    bool ok = false;
    const double g =
        QString(val).trimmed().replace(QLatin1Char(','), QLatin1Char('.')).toDouble(&ok);
    if (!ok || !std::isfinite(g))
        return std::nullopt;
    return g;
}

QDate dateOf(const QString& text) {
    const QString t = text.trimmed();
    QDate d = QDate::fromString(t.left(10), Qt::ISODate);
    if (!d.isValid())
        d = QDate::fromString(t, QStringLiteral("d.M.yyyy"));
    return d;
}

QString pupilFile(const QString& programFolder) {
    return QDir(programFolder).filePath(QStringLiteral("data/students.mdb"));
}

// The pupil file and what the engine keeps beside it while a write is open.
const QString kPupilFileParts[] = {QString(), QStringLiteral("-journal"), QStringLiteral("-wal")};

std::filesystem::path nativePath(const QString& path) {
    return std::filesystem::path(QFile::encodeName(path).toStdString());
}

// Why the CSV must not go to `output`, or empty. The file is written beside
// and renamed over the output, so a device or folder would be replaced, not
// written into; and the pupil file may be reached under another name.
QString outputFault(const QString& output, const QString& programFolder) {
    const QFileInfo info(output);
    if (info.exists() && !info.isFile())
        return QStringLiteral("„%1“ не е обикновен файл; изберете друго име за файла с -o.")
            .arg(output);
    const QFileInfo pupils(pupilFile(programFolder));
    std::error_code e;
    const bool besidePupils = std::filesystem::equivalent(nativePath(info.absolutePath()),
                                                          nativePath(pupils.absolutePath()), e);
    for (const QString& suffix : kPupilFileParts) {
        // A journal that is not there yet is still the engine's to make.
        if ((besidePupils && info.fileName() == pupils.fileName() + suffix) ||
            std::filesystem::equivalent(nativePath(output), nativePath(pupils.filePath() + suffix),
                                        e))
            return QStringLiteral("„%1“ е файлът с резултатите на учениците (или част от него) "
                                  "и не може да бъде записан; изберете друго име за файла с -o.")
                .arg(output);
    }
    return QString();
}

} // namespace

bool Filter::matches(const Record& r) const {
    if (classNo != 0 && r.classText.trimmed() != QString::number(classNo))
        return false;
    if (division != 0 && r.division != division)
        return false;
    if (!subject.isEmpty() && r.subject.trimmed().compare(subject, Qt::CaseInsensitive) != 0)
        return false;
    if (!section.isEmpty() && r.section.trimmed().compare(section, Qt::CaseInsensitive) != 0)
        return false;
    if (from.isValid() || to.isValid()) {
        const QDate d = dateOf(r.date);
        if (!d.isValid() || (from.isValid() && d < from) || (to.isValid() && d > to))
            return false;
    }
    return true;
}

QString divisionLetter(int position) {
    const QStringList& letters = divisionLetters();
    return position >= 1 && position <= letters.size() ? letters[position - 1]
                                                       : QString::number(position);
}

namespace {

// Whole hundredths, so that the bands hold exactly at x.49 and x.50.
QString gradeWordOf(long long hundredths) {
    if (hundredths < 300)
        return QStringLiteral("Слаб 2");
    if (hundredths < 350)
        return QStringLiteral("Среден 3");
    if (hundredths < 450)
        return QStringLiteral("Добър 4");
    if (hundredths < 550)
        return QStringLiteral("Много добър 5");
    return QStringLiteral("Отличен 6");
}

} // namespace

QString gradeWord(const QString& twoDecimals) {
    const std::optional<double> g = storedGrade(twoDecimals);
    return g ? gradeWordOf(std::llround(*g * 100)) : QString();
}

GradeCells gradeCells(const QString& val, const QLocale& locale) {
    const std::optional<double> g = storedGrade(val);
    if (!g || *g < 0 || *g >= 1e6)
        return {val, QString()};
    // The window showed the grade itself with two decimals; the record keeps
    // three. A last digit of 6 … 9 came from a grade the window rounded up and
    // 0 … 4 from one it rounded down; a 5 may be either, and is taken down so
    // that 3.495 never becomes a "Добър 4" the pupil did not see. Whole
    // thousandths first: the double nearest 4.495 lies below it.
    const long long thousandths = std::llround(*g * 1000);
    const long long hundredths = (thousandths + 4) / 10;
    const int cents = int(hundredths % 100);
    const QString two = QString::number(hundredths / 100) + locale.decimalPoint() +
                        QLatin1Char(char('0' + cents / 10)) + QLatin1Char(char('0' + cents % 10));
    return {two, gradeWordOf(hundredths)};
}

QByteArray csv(const QList<Record>& records, const Format& format) {
    QString text;
    auto row = [&](const QStringList& fields) {
        for (qsizetype i = 0; i < fields.size(); ++i) {
            if (i > 0)
                text += format.separator;
            text += csvField(fields[i], format.separator);
        }
        text += QStringLiteral("\r\n");
    };
    row({QStringLiteral("Име"), QStringLiteral("Клас"), QStringLiteral("Паралелка"),
         QStringLiteral("Номер"), QStringLiteral("Дата"), QStringLiteral("Предмет"),
         QStringLiteral("Раздел"), QStringLiteral("Оценка"), QStringLiteral("Оценка с думи")});
    for (const Record& r : records) {
        const GradeCells g = gradeCells(r.val, format.locale);
        // Division and number are numbers this program wrote, and so is a
        // grade with its word; a grade without one is the stored text.
        row({textCell(r.name), textCell(r.classText), divisionLetter(r.division),
             QString::number(r.numberInClass), textCell(r.date), textCell(r.subject),
             textCell(r.section), g.word.isEmpty() ? textCell(g.grade) : g.grade, g.word});
    }
    QByteArray bytes = format.bom ? QByteArray("\xEF\xBB\xBF") : QByteArray();
    return bytes + text.toUtf8();
}

QList<Record> readRecords(const QString& programFolder) {
    const QFileInfo folder(programFolder);
    if (!folder.exists())
        throw StoreError(
            QStringLiteral("Папката на програмата „%1“ не съществува.").arg(programFolder));
    if (!folder.isDir())
        throw StoreError(QStringLiteral("„%1“ не е папка.").arg(programFolder));
    const QString file = pupilFile(programFolder);
    if (!QFileInfo(file).isFile())
        throw StoreError(QStringLiteral("В папката на програмата „%1“ няма файл с резултатите на "
                                        "учениците (data/students.mdb).")
                             .arg(programFolder));
    // Even a reading connection writes: it rolls back a journal left behind
    // and sets the journal mode. A copy takes that, the pupil file stays as
    // it is; its journal comes along, so the copy holds what the file holds.
    QTemporaryDir copy;
    if (!copy.isValid() || !QDir(copy.path()).mkdir(QStringLiteral("data")))
        throw StoreError(QStringLiteral("Няма място за временно копие на резултатите."));
    const QString target = pupilFile(copy.path());
    for (const QString& suffix : kPupilFileParts) {
        if (!suffix.isEmpty() && !QFileInfo::exists(file + suffix))
            continue;
        if (!QFile::copy(file + suffix, target + suffix))
            throw StoreError(
                QStringLiteral("Файлът „%1“ не може да бъде прочетен.").arg(file + suffix));
    }
    QList<Record> records;
    try {
        Connection c(connectionString(copy.path(), DbFile::Students));
        c.open();
        refuseNewerPupilFile(c, file);
        Query q;
        q.setConnection(&c);
        q.setReadAll(true);
        q.setSql({QStringLiteral("select * from student")});
        q.open();
        records.reserve(q.recordCount());
        for (q.first(); !q.eof(); q.next()) {
            Record r;
            r.name = q.text(QStringLiteral("Name"));
            r.classText = q.text(QStringLiteral("Class"));
            // One mistyped record must not cost the teacher all the others.
            const auto number = [&](const QString& field, const QString& what) {
                try {
                    return q.integer(field);
                } catch (const StoreError&) {
                    r.fault += QStringLiteral("%1%2 „%3“ не е цяло число")
                                   .arg(r.fault.isEmpty() ? QString() : QStringLiteral("; "), what,
                                        q.text(field));
                    return 0;
                }
            };
            r.division = number(QStringLiteral("Division"), QStringLiteral("паралелката"));
            r.numberInClass =
                number(QStringLiteral("NumOfClass"), QStringLiteral("номерът в класа"));
            r.date = q.text(QStringLiteral("DT"));
            r.subject = q.text(QStringLiteral("Object"));
            r.section = q.text(QStringLiteral("Theme"));
            r.val = q.text(QStringLiteral("Val"));
            records.append(std::move(r));
        }
    } catch (const PupilFileTooNew&) {
        throw;
    } catch (const StoreError&) {
        // The engine's words would name the copy, which means nothing to
        // the teacher.
        throw StoreError(QStringLiteral("Файлът „%1“ не е база данни с резултатите на учениците "
                                        "или е повреден.")
                             .arg(file));
    }
    return records;
}

namespace {

const QString kUsage = QStringLiteral(
    "Употреба: kivor-results ПАПКА_НА_ПРОГРАМАТА [--class N] [--division БУКВА]\n"
    "                 [--subject ПРЕДМЕТ] [--section РАЗДЕЛ] [--from ДАТА] [--to ДАТА]\n"
    "                 [--separator comma|semicolon] [--locale bg_BG] [--no-bom] [-o ФАЙЛ]\n"
    "  --from, --to  дати ГГГГ-ММ-ДД (или ДД.ММ.ГГГГ), включително\n"
    "  --separator   разделителят на полетата; по подразбиране „;“, когато десетичният\n"
    "                знак на езика е запетая, иначе „,“\n"
    "  --locale      чий десетичен знак носи оценката; по подразбиране bg_BG\n"
    "  --no-bom      без знака за UTF-8 в началото на файла\n"
    "  -o            файлът; без него – стандартният изход\n");

struct Options {
    QString folder;
    Filter filter;
    Format format;
    QString output;
};

// Reads the command line into `o`; empty, or why it is wrong.
QString parse(const QStringList& arguments, Options* o) {
    QStringList positional;
    QString separator;
    bool separatorGiven = false;
    const QStringList valued = {
        QStringLiteral("--class"),     QStringLiteral("--division"), QStringLiteral("--subject"),
        QStringLiteral("--section"),   QStringLiteral("--from"),     QStringLiteral("--to"),
        QStringLiteral("--separator"), QStringLiteral("--locale"),   QStringLiteral("-o")};
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        QString a = arguments[i];
        if (a == QLatin1String("--no-bom")) {
            o->format.bom = false;
            continue;
        }
        if (!a.startsWith(QLatin1Char('-'))) {
            positional.append(a);
            continue;
        }
        QString value;
        if (const qsizetype eq = a.indexOf(QLatin1Char('='));
            eq > 0 && a.startsWith(QLatin1String("--"))) {
            value = a.mid(eq + 1);
            a = a.left(eq);
        } else if (valued.contains(a)) {
            if (i + 1 >= arguments.size())
                return QStringLiteral("Параметърът „%1“ иска стойност.").arg(a);
            value = arguments[++i];
        }
        if (!valued.contains(a))
            return QStringLiteral("Непознат параметър „%1“.").arg(arguments[i]);
        value = value.trimmed();
        if (a == QLatin1String("--class")) {
            bool ok = false;
            o->filter.classNo = value.toInt(&ok);
            if (!ok || o->filter.classNo < 1 || o->filter.classNo > 13)
                return QStringLiteral("Класът трябва да е цяло число от 1 до 13, а е „%1“.")
                    .arg(value);
        } else if (a == QLatin1String("--division")) {
            o->filter.division = divisionPosition(value);
            if (o->filter.division == 0)
                return QStringLiteral("Паралелката трябва да е буква от А до Я, а е „%1“.")
                    .arg(value);
        } else if (a == QLatin1String("--subject")) {
            o->filter.subject = value;
        } else if (a == QLatin1String("--section")) {
            o->filter.section = value;
        } else if (a == QLatin1String("--from") || a == QLatin1String("--to")) {
            const QDate d = dateOf(value);
            if (!d.isValid())
                return QStringLiteral("Датата „%1“ трябва да е ГГГГ-ММ-ДД или ДД.ММ.ГГГГ.")
                    .arg(value);
            (a == QLatin1String("--from") ? o->filter.from : o->filter.to) = d;
        } else if (a == QLatin1String("--separator")) {
            separator = value;
            separatorGiven = true;
        } else if (a == QLatin1String("--locale")) {
            o->format.locale = QLocale(value);
            if (o->format.locale.language() == QLocale::C && value != QLatin1String("C"))
                return QStringLiteral("Непознат език „%1“ (например bg_BG, en_US).").arg(value);
        } else {
            o->output = value;
        }
    }
    if (positional.size() != 1)
        return QStringLiteral("Дайте точно една папка на програмата.");
    o->folder = positional.first();
    if (!separatorGiven)
        o->format.separator = o->format.locale.decimalPoint() == QLatin1String(",")
                                  ? QLatin1Char(';')
                                  : QLatin1Char(',');
    else if (separator == QLatin1String("comma") || separator == QLatin1String(","))
        o->format.separator = QLatin1Char(',');
    else if (separator == QLatin1String("semicolon") || separator == QLatin1String(";"))
        o->format.separator = QLatin1Char(';');
    else
        return QStringLiteral("Разделителят трябва да е comma или semicolon, а е „%1“.")
            .arg(separator);
    return QString();
}

} // namespace

int run(const QStringList& arguments, QIODevice& out, QTextStream& err) {
    if (arguments.contains(QLatin1String("--help")) || arguments.contains(QLatin1String("-h"))) {
        out.write(kUsage.toUtf8());
        return 0;
    }
    Options o;
    if (const QString wrong = parse(arguments, &o); !wrong.isEmpty()) {
        err << wrong << '\n' << kUsage;
        err.flush();
        return 2;
    }
    if (!o.output.isEmpty()) {
        if (const QString fault = outputFault(o.output, o.folder); !fault.isEmpty()) {
            err << fault << '\n';
            err.flush();
            return 1;
        }
    }
    try {
        QList<Record> chosen;
        QList<Record> records = readRecords(o.folder);
        chosen.reserve(records.size());
        // A faulty record is named whenever it might belong to the choice:
        // its division may be the one unreadable field.
        Filter anyDivision = o.filter;
        anyDivision.division = 0;
        for (qsizetype i = 0; i < records.size(); ++i) {
            Record& r = records[i];
            if (r.fault.isEmpty() && o.filter.matches(r))
                chosen.append(std::move(r));
            else if (!r.fault.isEmpty() && anyDivision.matches(r))
                err << QStringLiteral("Запис %1 („%2“, %3 клас, %4) е пропуснат: %5.\n")
                           .arg(QString::number(i + 1), r.name, r.classText, r.date, r.fault);
        }
        const QByteArray bytes = csv(chosen, o.format);
        if (o.output.isEmpty()) {
            out.write(bytes);
        } else {
            QSaveFile f(o.output);
            if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size() || !f.commit())
                throw StoreError(QStringLiteral("Файлът „%1“ не може да бъде записан: %2.")
                                     .arg(o.output, fileFault(f)));
        }
        err << QStringLiteral("Записи: %1\n").arg(chosen.size());
        err.flush();
        return 0;
    } catch (const LayerError& e) {
        err << e.text() << '\n';
    } catch (const std::exception& e) {
        err << QStringLiteral("Грешка: %1\n").arg(QString::fromLocal8Bit(e.what()));
    }
    err.flush();
    return 1;
}

} // namespace resultscsv
