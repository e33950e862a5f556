#include "pupil.h"

const QStringList& divisionLetters() {
    static const QStringList letters =
        QStringLiteral("А Б В Г Д Е Ж З И Й К Л М Н О П Р С Т У Ф Х Ц Ч Ш Щ Ъ Ь Ю Я")
            .split(QLatin1Char(' '));
    return letters;
}

int divisionPosition(const QString& division) {
    return int(divisionLetters().indexOf(division.trimmed().toUpper())) + 1;
}
