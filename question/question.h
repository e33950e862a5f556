#pragma once

#include <QByteArray>
#include <QChar>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

// A question of a bank as the program and kivor-bank both know it, apart
// from how it is stored (a bank row) or written (a bank source).
namespace question {

// The stored number of each kind (typequest).
enum class Kind { Choice = 0, Matching = 1, Gaps = 2 };

// The kind a stored typequest names; none for a number no kind has.
std::optional<Kind> kindOf(int stored);

// The most points a question, a pair or a gap may have: the program leaves a
// row with more out of every drawing.
constexpr int kMaxPoints = 1000;

// What every gap becomes in the stored passage and shows while it is open:
// blank, five full stops, blank. Placing a word replaces exactly these seven
// characters.
inline const QString kGapMarker = QStringLiteral(" ..... ");

// The longest gap text a question may have, in characters. A school passage
// is a few hundred; text layout of a much longer one (worst: one unbroken run
// of letters) takes the session window seconds to minutes at every change, so
// the program leaves such a row out and kivor-bank refuses it.
constexpr int kMaxGapText = 10000;

// Whether the gap marker at `start` lies wholly inside a text of `length`
// characters.
bool gapInsideText(int start, int length);

// The answer letters А Б В Г naming the boxes 1..4 (and the columns
// AnsA..AnsD of a question).
inline const QString kAnswerLetters = QStringLiteral("\u0410\u0411\u0412\u0413");
QChar answerLetter(int box);
// 1..4 for А..Г, 0 for anything else.
int answerBox(QChar letter);

struct Pair {
    QString term;
    QString meaning;
    int points = 0;
    friend bool operator==(const Pair&, const Pair&) = default;
};

// A gap-fill text with its gaps taken out: the stored passage and, per gap,
// the right word, the position of its marker and its points.
struct GapText {
    QString text; // with every gap replaced by the marker
    QStringList words;
    QList<int> starts; // 0-based character positions of the markers in `text`
    QList<int> points;
    int totalPoints() const;
    friend bool operator==(const GapText&, const GapText&) = default;
};

struct Question {
    Kind kind = Kind::Choice;
    int line = 0; // where a source has it; 0 when none
    int test = 1;
    QString condition;
    QString fullAnswer;
    int points = 0;  // Scores: given, or the sum of the pairs' / gaps' points
    QString picture; // as the source names it; empty when there is none
    QByteArray pictureData;

    // Choice
    QString question;
    QStringList answers; // four
    QChar right;         // А, Б, В or Г

    // Matching
    QList<Pair> pairs;

    // Gaps
    GapText gaps;

    friend bool operator==(const Question&, const Question&) = default;
};

// The points of a question's pairs or gaps together; 0 for a choice.
int itemPoints(const Question& q);

} // namespace question
