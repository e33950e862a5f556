#pragma once

#include <QChar>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace question {
enum class Kind;
}

class Query;
class TDataModule2;

// What the settings say at the moment of an answer action. The program reads
// the settings window's controls every time, so a change made in the middle
// of a run counts from the next action on.
class RunSettings {
public:
    virtual ~RunSettings() = default;
    virtual bool unlimitedCorrections() const = 0;
    virtual int correctionsCount() const = 0;
    virtual bool tutorRun() const = 0;
};

// The notice a scored action earns: none in a test run, "вярно" or "грешно"
// in a tutor run.
enum class Feedback { None, Right, Wrong };

// A line of the term page: the term's row and the meaning's row (1..10); a
// meaning row of 0 is a pick that has not been joined yet.
struct TermLine {
    int term = 0;
    int meaning = 0;
    friend bool operator==(const TermLine&, const TermLine&) = default;
};

// A word placed in a gap, as the gap rows keep it: its position in the text
// as the text stands with every word before it placed.
struct PlacedWord {
    int start = 0;
    QString word;
};

// A change the text of the gap question on screen goes through: `length`
// characters at `position` give way to `text`, shown in red when it is a
// placed word and in black when it is the gap marker again. The model keeps
// the text as it stands; the window's text box shows it by making the same
// changes in the same order.
struct TextChange {
    int position = 0;
    int length = 0;
    QString text;
    bool placedWord = false;
    friend bool operator==(const TextChange&, const TextChange&) = default;
};

// The answers and the score of one run, over the run's scratch tables: the
// question list (temp4 through Temp, whose current row is the current
// question), the pairs of term questions (temp1), the lines the pupil draws
// (temp2), the answer key of the gap question on screen (temp) and the gap
// rows of every gap question seen (sltable). The session window is its front
// end: it reads the widgets, calls the model and shows what the model says.
//
// Invariant, after every action: Score equals the points of the right answers
// standing, that is the Scores of every four-answer question marked "yes",
// plus the pair points of every line marked "yes" (a line is marked "yes"
// exactly while it joins a right pair), plus the key points of every gap
// marked "yes" (exactly while it holds its key word). Points move only when a
// mark flips, so answering the same way twice changes nothing.
class SessionRun {
public:
    SessionRun(TDataModule2& dm, const RunSettings& settings);

    qint32 Score = 0;

    // A new run: no points, no pick.
    void start();

    // --- Corrections limit, shared by every kind ---
    // Whether a counted action is allowed on the current question now.
    bool correctionAllowed() const;
    // Counts one action when corrections are limited (Limit + 1, posted);
    // false when the action is refused, which then changes nothing at all.
    bool countCorrection();

    // --- The current question ---
    int questionId() const;
    // None for a stored kind no kind has.
    std::optional<question::Kind> kind() const;
    // A question seen for the first time gets its mark "no".
    void markVisited();

    // --- Four answers ---
    // Scores a counted click on the box of `letter`: the question's points go
    // into Score when its mark turns "yes" and out when it turns "no".
    Feedback scoreChoice(QChar letter);
    void storeChoice(QChar letter);
    // The letter chosen last; null when none was chosen.
    QChar storedChoice() const;

    // --- Term matching ---
    // The texts of the current question's rows as its page shows them (row
    // 1..10; empty where the page shows nothing).
    QString termText(int row) const;
    QString meaningText(int row) const;
    int rowCount() const;

    struct PickOutcome {
        bool accepted = false;  // false: a pick was already active, or the term is taken
        bool pairFound = false; // false: the question has no pair for this term
    };
    // Picks the term of `row`: an unfinished line is stored until the join.
    PickOutcome pickTerm(int row);
    bool pickActive() const { return m_pick.active; }
    int pickedRow() const { return m_pick.active ? m_pick.row : 0; }

    struct JoinOutcome {
        bool joined = false;
        bool pairFound = true;
        Feedback feedback = Feedback::None;
    };
    // Joins the picked term to the meaning of `row` and scores the line.
    // Without a pick, or on a meaning already joined, nothing happens.
    JoinOutcome joinMeaning(int row);
    // Takes the line of the meaning of `row` back, counted against the
    // corrections limit; false when refused or when there is no such line.
    bool removeLine(int meaningRow);
    // The term row joined to the meaning of `row`; 0 when it is free.
    int termJoinedTo(int meaningRow) const;
    // The meaning row that makes a right line with the term of `termRow`; 0
    // when the page has none (for teachers' tools and checks, not the pupil).
    int pairedMeaning(int termRow) const;
    // The current question's lines, the unfinished pick included.
    QList<TermLine> lines() const;
    // Forgets an active pick: its unfinished line is deleted and its term is
    // free again. Called when the question on screen changes.
    void dropPick();

    // --- Gap fill: what the display of a gap question needs ---
    // Rebuilds the answer key of the current question (temp) from its
    // columns and returns each distinct word once.
    QStringList buildAnswerKey();
    // Makes the current question's gap rows at its first display of the run,
    // then opens them; the answer key takes their positions. `shown` is the
    // text as its box shows it with every gap open; the words stored in the
    // gap rows go back into it, and the changes that put them back are
    // returned for the box to make.
    QList<TextChange> openGapRows(const QString& shown);
    // The gap rows of the current question in order of position; none while
    // its rows are not open.
    QList<PlacedWord> gapRows() const;
    // The text of the gap question on screen as it now stands.
    const QString& gapText() const { return m_gapText; }

    // --- Gap fill: the pupil's words ---
    // Picks a word of the list for the next press on the text; false (and no
    // pick) when it is not a word of the question's answer key.
    bool pickWord(const QString& word);
    bool wordPicked() const { return m_wordPick.active; }
    void dropWordPick() { m_wordPick = {}; }
    // The press at caret position `p` with a word picked: the word goes into
    // the first open gap whose marker p touches (from its first character to
    // just after its last), and every later gap moves by the word's length
    // against the marker's, in the gap rows and the answer key alike. The
    // pick is used up whether or not a gap is hit. Not scored: TrueAnswerW is.
    std::optional<TextChange> fillGap(int p);
    // The placed word a press at `p` selects for removal (from its first
    // character to just after its last), if any.
    std::optional<PlacedWord> selectWord(int p) const;
    // Takes `word` out of its gap at `start`, counted against the corrections
    // limit, and moves the later gaps back. Only a word that really stands
    // there, in the gap rows and in the text, comes out; otherwise, or when
    // the limit refuses, nothing changes at all. Not scored: the caller runs
    // TrueAnswerW with `removal` once the word has come out.
    std::optional<TextChange> removeWord(const QString& word, int start);
    // The check of the gap at `start` holding `word`: its points go into
    // Score when its mark turns "yes" (the key word, compared as a whole
    // string) and out when it turns "no" (another word, or the removal of
    // any). A removal earns no notice.
    Feedback TrueAnswerW(const QString& word, int start, bool removal);

private:
    Query& question() const;
    Query& pairs() const;
    Query& lineRows() const;
    void openAll(Query& q, const QString& table) const;
    Feedback feedback(bool right) const;
    // The check of a line of the meaning of `meaningRow`: scores it, and
    // deletes it on a removal.
    Feedback TrueAnswerT(const QString& term, const QString& meaning, bool removal, int meaningRow);
    int pairPoints(const QString& term, const QString& meaning) const;
    bool locateLine(int id, int meaningRow) const;

    void forgetGapQuestion();
    // The text of question `id` as shown, with the stored words put back.
    QList<TextChange> takeGapText(int id, const QString& shown);
    bool gapRowsOpen() const;
    // Gap rows (and key rows) after `rank` move by `by` positions.
    void shiftGapsAfter(int rank, int by);

    TDataModule2& m_dm;
    const RunSettings& m_settings;
    struct SplitColumn {
        QString value;
        QStringList lines;
    };
    const QStringList& columnLines(const QString& column, SplitColumn& cache) const;
    mutable SplitColumn m_terms;
    mutable SplitColumn m_trans;

    struct Pick {
        bool active = false;
        int question = 0;
        int row = 0;
        QString term;
        bool pairFound = false;
    } m_pick;
    // The gap question whose rows are open (-1: none) and its text.
    int m_gapQuestion = -1;
    QString m_gapText;
    struct WordPick {
        bool active = false;
        int question = 0;
        QString word;
    } m_wordPick;
};
