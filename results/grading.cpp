#include "grading.h"

#include <QLocale>

namespace {

constexpr double kLowestGrade = 2.0;
constexpr double kHighestGrade = 6.0;

} // namespace

double grade(qint32 totalPoints, qint32 score) {
    if (totalPoints == 0)
        return kLowestGrade;
    const double g = 4.0 / double(totalPoints) * double(score) + 2.0;
    // Written so that anything not a number also ends at the floor.
    if (!(g >= kLowestGrade))
        return kLowestGrade;
    if (g > kHighestGrade)
        return kHighestGrade;
    return g;
}

QString totalPointsText(qint32 totalPoints) {
    return QStringLiteral("общо точки: ") + QString::number(totalPoints);
}

QString scoreText(qint32 score) {
    return QStringLiteral("получени точки: ") + QString::number(score);
}

QString gradeText(double grade, const QLocale& locale) {
    return QStringLiteral("оценка: ") + decimalText(grade, 2, locale);
}

QString decimalText(double value, int decimals, const QLocale& locale) {
    // QLocale::toString would also group digits and could use the locale's
    // own digits; a grade wants only the separator.
    QString text = QString::number(value, 'f', decimals);
    text.replace(QLatin1Char('.'), locale.decimalPoint());
    return text;
}

QString classAndDivision(const QString& classText, const QString& divisionText) {
    return classText + QLatin1Char(' ') + divisionText;
}

PupilRecord pupilRecord(const RunInputs& run, double grade, const QDate& today,
                        const QLocale& locale) {
    PupilRecord r;
    r.Name = run.fullName;
    r.NumOfClass = run.numberInClass;
    r.Val = decimalText(grade, 3, locale);
    r.Object = run.subject;
    r.DT = today;
    r.Theme = run.section;
    r.Class = run.classText;
    r.Division = run.divisionPosition;
    return r;
}
