#pragma once

#include <QDate>
#include <QString>

class QLocale;

// What the results window learns about a finished test run from the other
// windows: the pupil as registered, the subject and section, the points.
struct RunInputs {
    qint32 score = 0;         // points earned
    QString fullName;         // as typed
    int numberInClass = 0;    // 1 … 99
    QString classText;        // "1" … "13"
    QString divisionText;     // the letter as shown
    int divisionPosition = 0; // 1 … 30 for А … Я
    QString subject;
    QString section;
};

// The grade on the school scale 2 … 6: 4 ÷ total × earned + 2, computed in
// that order. Never below 2, and never above 6 either: a question whose pairs
// or gaps are worth more than the question itself can give more points than
// the run's total, and a grade above 6 does not exist. A run without points
// (total 0) cannot be graded and gets 2.
double grade(qint32 totalPoints, qint32 score);

// The three result labels of the window.
QString totalPointsText(qint32 totalPoints);
QString scoreText(qint32 score);
// "оценка: " and the grade with two decimals.
QString gradeText(double grade, const QLocale& locale);

// A number with a fixed count of decimals, rounded, with the locale's decimal
// separator and nothing else of the locale (no digit grouping).
QString decimalText(double value, int decimals, const QLocale& locale);

// "клас и паралелка" as the window shows it: "5 А".
QString classAndDivision(const QString& classText, const QString& divisionText);

// One row of the pupil table, in its column names.
struct PupilRecord {
    QString Name;
    int NumOfClass = 0;
    QString Val; // three decimals, the locale's separator
    QString Object;
    QDate DT;
    QString Theme;
    QString Class;
    int Division = 0;
};

PupilRecord pupilRecord(const RunInputs& run, double grade, const QDate& today,
                        const QLocale& locale);
