#include "helpbrowser.h"

#include "helppages.h"

#include <QImage>
#include <QTextDocument>
#include <QUrl>

HelpBrowser::HelpBrowser(QWidget* parent) : QTextBrowser(parent) {
    // Links to the web leave the help; links between pages stay in it.
    setOpenExternalLinks(true);
}

QVariant HelpBrowser::loadResource(int type, const QUrl& name) {
    const QVariant data = QTextBrowser::loadResource(type, name);
    const bool empty = !data.isValid() || (data.userType() == QMetaType::QByteArray &&
                                           data.toByteArray().trimmed().isEmpty());
    if (!empty)
        return data;

    // A page reached through a link arrives with its kind still unknown.
    if (type == QTextDocument::HtmlResource || type == QTextDocument::UnknownResource) {
        const QUrl url = source().isValid() ? source().resolved(name) : name;
        return missingPageHtml(url.isLocalFile() ? url.toLocalFile() : url.toString());
    }
    if (type == QTextDocument::ImageResource)
        return missingPictureImage();
    return data;
}

#include "moc_helpbrowser.cpp"
