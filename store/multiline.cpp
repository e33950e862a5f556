#include "multiline.h"

QStringList splitLines(const QString& value) {
    QStringList lines;
    QString line;
    bool open = false; // an item has begun that no break has ended yet
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value[i];
        if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
            lines.append(line);
            line.clear();
            open = false;
            if (c == QLatin1Char('\r') && i + 1 < value.size() && value[i + 1] == QLatin1Char('\n'))
                ++i;
        } else {
            line += c;
            open = true;
        }
    }
    if (open)
        lines.append(line);
    return lines;
}

QString joinLines(const QStringList& items) {
    QString out;
    for (const QString& item : items)
        out += item + QStringLiteral("\r\n");
    return out;
}
