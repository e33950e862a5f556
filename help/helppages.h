#pragma once

#include <QList>
#include <QString>

class QImage;
class QUrl;

// One page of the help: its file in the page folder and the title the contents list shows.
struct HelpPage {
    QString file;
    QString title;
};

// The six pages in reading order; the first one is the contents page.
const QList<HelpPage>& helpPages();

// The page folder beside the help program. The main program starts it without a
// working directory, so its own location is the only one that can be trusted.
QString helpFolder(const QString& programDir);

// The page at `index` (0-based) in `folder`; an index out of range gives the contents page.
QUrl helpPageUrl(const QString& folder, int index);

// Which of the six pages a URL shows (anchor and letter case do not matter), or -1.
int helpPageIndex(const QUrl& url);

// Shown in place of a page file that is missing, unreadable or empty, so the
// pupil sees why the window is empty and what to tell the teacher.
QString missingPageHtml(const QString& path);

// Drawn in place of a picture of a page that cannot be read.
QImage missingPictureImage();
