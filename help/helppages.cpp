#include "helppages.h"

#include <QColor>
#include <QDir>
#include <QFileInfo>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPen>
#include <QUrl>

const QList<HelpPage>& helpPages() {
    static const QList<HelpPage> pages = {
        {QStringLiteral("p01.htm"), QStringLiteral("Съдържание")},
        {QStringLiteral("p02.htm"), QStringLiteral("Как се решава тест")},
        {QStringLiteral("p03.htm"), QStringLiteral("Обучение")},
        {QStringLiteral("p04.htm"), QStringLiteral("Видове въпроси")},
        {QStringLiteral("p05.htm"), QStringLiteral("Настройки")},
        {QStringLiteral("p06.htm"), QStringLiteral("Оценяване")},
    };
    return pages;
}

QString helpFolder(const QString& programDir) {
    return QDir::cleanPath(QDir(programDir).absoluteFilePath(QStringLiteral("help4")));
}

QUrl helpPageUrl(const QString& folder, int index) {
    const QList<HelpPage>& pages = helpPages();
    if (index < 0 || index >= pages.size())
        index = 0;
    return QUrl::fromLocalFile(QDir(folder).absoluteFilePath(pages.at(index).file));
}

int helpPageIndex(const QUrl& url) {
    // Links between the pages are relative, so every page the viewer reaches
    // lies in the one page folder: the file name alone tells the page.
    if (!url.isLocalFile() && !url.isRelative())
        return -1;
    const QString name = QFileInfo(url.path()).fileName();
    const QList<HelpPage>& pages = helpPages();
    for (int i = 0; i < pages.size(); ++i) {
        if (name.compare(pages.at(i).file, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

QString missingPageHtml(const QString& path) {
    const QString shown = QDir::toNativeSeparators(path).toHtmlEscaped();
    return QStringLiteral(
               "<html><head><meta charset=\"utf-8\"></head>"
               "<body style=\"font-family: 'Liberation Sans', Arial, sans-serif; font-size: "
               "11pt;\">"
               "<h2 style=\"color: #a01010;\">Страницата не може да бъде показана</h2>"
               "<p>Файлът на тази страница от помощта липсва или не може да бъде прочетен:</p>"
               "<p style=\"font-family: monospace;\">%1</p>"
               "<p>Изберете друга страница от списъка вляво. Ако и другите страници "
               "липсват, помощта не е инсталирана изцяло: съобщете на учителя или "
               "преинсталирайте Kivor.</p>"
               "</body></html>")
        .arg(shown);
}

QImage missingPictureImage() {
    QImage image(320, 200, QImage::Format_RGB32);
    image.fill(QColor(0xf2, 0xf2, 0xf2));
    QPainter painter(&image);
    painter.setPen(QPen(QColor(0xb0, 0xb0, 0xb0), 2, Qt::DashLine));
    painter.drawRect(image.rect().adjusted(1, 1, -2, -2));
    painter.setPen(QColor(0x70, 0x70, 0x70));
    QFont font = painter.font();
    font.setPixelSize(18);
    painter.setFont(font);
    painter.drawText(image.rect(), Qt::AlignCenter, QStringLiteral("няма картина"));
    return image;
}
