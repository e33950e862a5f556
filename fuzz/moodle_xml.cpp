// The Moodle XML import: any file gives questions, refusals or one fault,
// never a crash, and every question it keeps makes a bank source that
// kivor-bank reads without a fault.
#include "check.h"

#include "tools/bank/gaps.h"
#include "tools/bank/source.h"
#include "tools/moodle/html.h"
#include "tools/moodle/moodleimport.h"

#include <QDir>
#include <QFile>
#include <QSet>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdlib>

namespace {

QTemporaryDir* folder = nullptr;
const QString kFile = QStringLiteral("banks/moodle.yaml");

void write(const QString& relative, const QByteArray& bytes) {
    writeFile(folder->filePath(relative), bytes);
}

bool anyFault(const QList<bank::Issue>& findings) {
    for (const bank::Issue& i : findings)
        if (i.isFault())
            return true;
    return false;
}

void checkQuestion(const bank::Question& q) {
    check(!q.condition.isEmpty() && q.points >= 1 && q.points <= bank::kMaxPoints);
    switch (q.kind) {
    case bank::Kind::Choice:
        check(q.answers.size() == 4 && !q.question.isEmpty());
        check(QStringLiteral("АБВГ").contains(q.right));
        for (const QString& a : q.answers)
            check(!a.isEmpty() && !a.contains(QLatin1Char('\n')));
        break;
    case bank::Kind::Matching:
        check(q.pairs.size() >= 2 && q.pairs.size() <= 10);
        break;
    case bank::Kind::Gaps:
        check(!q.gaps.words.isEmpty() && q.gaps.totalPoints() == q.points);
        break;
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    folder = new QTemporaryDir;
    check(folder->isValid() && QDir(folder->path()).mkpath(QStringLiteral("banks")) &&
          QDir(folder->path()).mkpath(QStringLiteral("pictures")));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    moodle::ImportOptions options;
    options.classNo = 5;
    options.subject = QStringLiteral("математика");
    options.defaultSection = QStringLiteral("внесени");
    const moodle::Import im = moodle::readMoodleXml(bytes, options);
    if (!im.fault.isEmpty()) {
        check(im.sections.isEmpty() && im.faultLine >= 0);
    } else if (im.questionCount() > 0) {
        QSet<QString> tables;
        for (const moodle::ImportedSection& s : im.sections) {
            check(bank::isTableName(s.table) && !tables.contains(s.table.toLower()));
            tables.insert(s.table.toLower());
            for (const moodle::ImportedQuestion& q : s.questions) {
                checkQuestion(q.question);
                if (!q.question.picture.isEmpty())
                    write(q.question.picture, q.question.pictureData);
            }
        }
        // What the import writes, kivor-bank reads without a fault.
        write(kFile, moodle::bankSource(im, options, QStringLiteral("fuzz.xml")));
        QList<bank::Issue> findings;
        const bank::Source source = bank::parseSource(folder->path(), kFile, &findings);
        check(!anyFault(findings));
        check(source.sections.size() == im.sections.size());
    }

    const moodle::PlainText text = moodle::htmlToText(QString::fromUtf8(bytes));
    check(!text.text.contains(QStringLiteral("\n\n\n")) && text.text == text.text.trimmed());
    return 0;
}
