// The question-bank source parser: any file gives questions or findings,
// never a crash, and a question it lets through is one the program can ask.
#include "check.h"

#include "media/picture.h"
#include "tools/bank/gaps.h"
#include "tools/bank/source.h"
#include "tools/jpeg/jpegwrite.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdlib>

namespace {

QTemporaryDir* folder = nullptr;
const QString kFile = QStringLiteral("banks/fuzz.yaml");

void write(const QString& relative, const QByteArray& bytes) {
    writeFile(folder->filePath(relative), bytes);
}

// Where every gap of a text the parser accepts stands, it finds the marker.
void checkGaps(const bank::GapText& g) {
    check(g.words.size() == g.starts.size() && g.starts.size() == g.points.size());
    for (qsizetype i = 0; i < g.starts.size(); ++i) {
        check(g.text.mid(g.starts[i], question::kGapMarker.size()) == question::kGapMarker);
        check(i == 0 || g.starts[i] >= g.starts[i - 1] + question::kGapMarker.size());
    }
}

bool anyFault(const QList<bank::Issue>& issues) {
    for (const bank::Issue& i : issues)
        if (i.isFault())
            return true;
    return false;
}

void checkFindings(const QList<bank::Issue>& issues) {
    for (const bank::Issue& i : issues)
        check(i.file == kFile && !i.message.isEmpty() && i.line >= 0);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    folder = new QTemporaryDir;
    check(folder->isValid() && QDir(folder->path()).mkpath(QStringLiteral("banks")));
    // Pictures a question may name: a good one and a damaged one.
    QImage picture(6, 4, QImage::Format_RGB32);
    picture.fill(Qt::darkCyan);
    const QByteArray jpeg = encodeJpeg(picture, 80);
    write(QStringLiteral("p.jpg"), jpeg);
    write(QStringLiteral("bad.jpg"), jpeg.left(jpeg.size() / 2));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    write(kFile, bytes);

    QList<bank::Issue> issues;
    const bank::Source source = bank::parseSource(folder->path(), kFile, &issues);
    checkFindings(issues);
    if (!anyFault(issues)) {
        check(source.classNo >= 1 && source.classNo <= 13 && !source.subject.isEmpty());
        for (const bank::Section& s : source.sections) {
            check(bank::isTableName(s.table) && !s.name.isEmpty());
            for (const bank::Question& q : s.questions) {
                check(!q.condition.isEmpty() && q.points > 0);
                if (q.kind == bank::Kind::Choice)
                    check(q.answers.size() == 4 && !q.question.isEmpty());
                if (q.kind == bank::Kind::Gaps)
                    checkGaps(q.gaps);
            }
        }
    }

    issues.clear();
    bank::parseDictionary(folder->path(), kFile, &issues);
    checkFindings(issues);

    QStringList faults, warnings;
    const bank::GapText gaps = bank::parseGapText(QString::fromUtf8(bytes), &faults, &warnings);
    if (faults.isEmpty())
        checkGaps(gaps);
    return 0;
}
