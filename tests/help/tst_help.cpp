#include "helpbrowser.h"
#include "helppages.h"
#include "helpwindow.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QListWidget>
#include <QRegularExpression>
#include <QSet>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <QTest>
#include <QTextDocument>
#include <QUrl>

namespace {

// The pictures the installation check of the main program requires, as the
// pages name them relative to the page folder.
const QStringList requiredPictures = {
    QStringLiteral("x.bmp"),
    QStringLiteral("images/p02/01.jpg"),
    QStringLiteral("images/p02/02.jpg"),
    QStringLiteral("images/p05/01.bmp"),
    QStringLiteral("images/p05/02.jpg"),
    QStringLiteral("images/p05/03.jpg"),
    QStringLiteral("images/p05/04.jpg"),
};

// Pictures of the question pages, made by the build like the others; the
// installation check does not ask for them, a page shows its text without.
const QStringList questionPictures = {
    QStringLiteral("images/p03/01.jpg"),
    QStringLiteral("images/p04/01.jpg"),
    QStringLiteral("images/p04/02.jpg"),
};

// The main window's hover display and a balloon, made by the build as well.
const QStringList hintPictures = {
    QStringLiteral("images/p02/03.jpg"),
    QStringLiteral("images/p05/05.jpg"),
};

QString readUtf8(const QString& path, bool* valid) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *valid = false;
        return {};
    }
    QStringDecoder decoder(QStringDecoder::Utf8);
    const QString text = decoder(file.readAll());
    *valid = !decoder.hasError();
    return text;
}

QStringList captures(const QString& text, const QString& pattern) {
    QStringList found;
    QRegularExpression re(pattern, QRegularExpression::CaseInsensitiveOption);
    for (auto it = re.globalMatch(text); it.hasNext();)
        found << it.next().captured(1);
    return found;
}

// A page folder whose pages are small and link to each other, so navigation
// can be tested apart from the real pages.
void writeTinyPages(const QString& folder) {
    const QList<HelpPage>& pages = helpPages();
    for (int i = 0; i < pages.size(); ++i) {
        QFile file(QDir(folder).absoluteFilePath(pages.at(i).file));
        QVERIFY(file.open(QIODevice::WriteOnly));
        const QString next = pages.at((i + 1) % pages.size()).file;
        file.write(QStringLiteral("<html><head><meta charset=\"utf-8\"></head><body>"
                                  "<h1>страница %1</h1><p><a href=\"%2\">следваща</a></p>"
                                  "</body></html>")
                       .arg(i + 1)
                       .arg(next)
                       .toUtf8());
    }
}

} // namespace

class TestHelp : public QObject {
    Q_OBJECT
private slots:
    void pageList_data();
    void pageList();
    void folderBesideProgram_data();
    void folderBesideProgram();
    void pageIndex_data();
    void pageIndex();
    void pageUrlOutOfRange();

    void missingPageShowsMessage();
    void missingPictureHasPlaceholder();
    void contentsListOpensPages();
    void historyAndHome();
    void linkFollowedFromPage();

    void pageSource_data();
    void pageSource();
    void everyRequiredPictureShown();
};

void TestHelp::pageList_data() {
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("title");
    QTest::newRow("contents") << 0 << "p01.htm"
                              << "Съдържание";
    QTest::newRow("test") << 1 << "p02.htm"
                          << "Как се решава тест";
    QTest::newRow("tutor") << 2 << "p03.htm"
                           << "Обучение";
    QTest::newRow("kinds") << 3 << "p04.htm"
                           << "Видове въпроси";
    QTest::newRow("settings") << 4 << "p05.htm"
                              << "Настройки";
    QTest::newRow("grading") << 5 << "p06.htm"
                             << "Оценяване";
}

void TestHelp::pageList() {
    QFETCH(int, index);
    QFETCH(QString, file);
    QFETCH(QString, title);
    QCOMPARE(helpPages().size(), 6);
    QCOMPARE(helpPages().at(index).file, file);
    QCOMPARE(helpPages().at(index).title, title);
}

void TestHelp::folderBesideProgram_data() {
    QTest::addColumn<QString>("programDir");
    QTest::addColumn<QString>("folder");
    QTest::newRow("plain") << "/opt/kivor"
                           << "/opt/kivor/help4";
    QTest::newRow("trailing slash") << "/opt/kivor/"
                                    << "/opt/kivor/help4";
    QTest::newRow("dots") << "/opt/kivor/./bin/.."
                          << "/opt/kivor/help4";
    QTest::newRow("cyrillic and blanks") << "/home/ученик/Моят Kivor"
                                         << "/home/ученик/Моят Kivor/help4";
}

void TestHelp::folderBesideProgram() {
    QFETCH(QString, programDir);
    QFETCH(QString, folder);
    QCOMPARE(helpFolder(programDir), folder);
}

void TestHelp::pageIndex_data() {
    QTest::addColumn<QUrl>("url");
    QTest::addColumn<int>("index");
    QTest::newRow("local file") << QUrl::fromLocalFile("/opt/kivor/help4/p03.htm") << 2;
    QTest::newRow("with anchor") << QUrl("file:///opt/kivor/help4/p06.htm#formula") << 5;
    QTest::newRow("relative link") << QUrl("p04.htm#corrections") << 3;
    QTest::newRow("upper case") << QUrl::fromLocalFile("/opt/kivor/help4/P02.HTM") << 1;
    QTest::newRow("first page") << QUrl("p01.htm") << 0;
    QTest::newRow("not a page") << QUrl::fromLocalFile("/opt/kivor/help4/p07.htm") << -1;
    QTest::newRow("picture") << QUrl("images/p02/01.jpg") << -1;
    QTest::newRow("similar name") << QUrl("xp01.htm") << -1;
    QTest::newRow("web") << QUrl("https://example.org/p01.htm") << -1;
    QTest::newRow("empty") << QUrl() << -1;
}

void TestHelp::pageIndex() {
    QFETCH(QUrl, url);
    QFETCH(int, index);
    QCOMPARE(helpPageIndex(url), index);
}

void TestHelp::pageUrlOutOfRange() {
    const QString folder = QStringLiteral("/opt/kivor/help4");
    QCOMPARE(helpPageUrl(folder, 4), QUrl::fromLocalFile("/opt/kivor/help4/p05.htm"));
    QCOMPARE(helpPageUrl(folder, -1), QUrl::fromLocalFile("/opt/kivor/help4/p01.htm"));
    QCOMPARE(helpPageUrl(folder, 6), QUrl::fromLocalFile("/opt/kivor/help4/p01.htm"));
}

void TestHelp::missingPageShowsMessage() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    // An empty page file is as useless as none.
    QFile empty(dir.filePath(QStringLiteral("p02.htm")));
    QVERIFY(empty.open(QIODevice::WriteOnly));
    empty.close();

    HelpWindow window(dir.path());
    QString text = window.browser()->toPlainText();
    QVERIFY2(text.contains(QStringLiteral("Страницата не може да бъде показана")),
             qPrintable(text));
    QVERIFY(text.contains(QStringLiteral("p01.htm")));

    window.contents()->setCurrentRow(1);
    text = window.browser()->toPlainText();
    QVERIFY2(text.contains(QStringLiteral("Страницата не може да бъде показана")),
             qPrintable(text));
    QVERIFY(text.contains(QStringLiteral("p02.htm")));
    // The history still works after a page that could not be shown.
    QVERIFY(window.backAction()->isEnabled());
}

void TestHelp::missingPictureHasPlaceholder() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    writeTinyPages(dir.path());
    HelpBrowser browser;
    browser.setSource(QUrl::fromLocalFile(dir.filePath(QStringLiteral("p01.htm"))));
    const QVariant picture =
        browser.loadResource(QTextDocument::ImageResource, QUrl(QStringLiteral("x.bmp")));
    QVERIFY(picture.canConvert<QImage>());
    QVERIFY(!picture.value<QImage>().isNull());
}

void TestHelp::contentsListOpensPages() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    writeTinyPages(dir.path());
    HelpWindow window(dir.path());
    QCOMPARE(window.windowTitle(), QStringLiteral("Kivor – помощ"));
    QCOMPARE(window.contents()->count(), 6);
    QCOMPARE(window.contents()->currentRow(), 0);
    QVERIFY(window.browser()->toPlainText().contains(QStringLiteral("страница 1")));

    for (int row : {3, 5, 1}) {
        window.contents()->setCurrentRow(row);
        QCOMPARE(helpPageIndex(window.browser()->source()), row);
        QVERIFY(
            window.browser()->toPlainText().contains(QStringLiteral("страница %1").arg(row + 1)));
    }
}

void TestHelp::historyAndHome() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    writeTinyPages(dir.path());
    HelpWindow window(dir.path());
    QVERIFY(!window.backAction()->isEnabled());
    QVERIFY(!window.forwardAction()->isEnabled());

    window.contents()->setCurrentRow(2);
    window.contents()->setCurrentRow(4);
    QVERIFY(window.backAction()->isEnabled());

    window.backAction()->trigger();
    QCOMPARE(helpPageIndex(window.browser()->source()), 2);
    QCOMPARE(window.contents()->currentRow(), 2);
    QVERIFY(window.forwardAction()->isEnabled());

    window.forwardAction()->trigger();
    QCOMPARE(helpPageIndex(window.browser()->source()), 4);
    QCOMPARE(window.contents()->currentRow(), 4);
    QVERIFY(!window.forwardAction()->isEnabled());

    window.homeAction()->trigger();
    QCOMPARE(helpPageIndex(window.browser()->source()), 0);
    QCOMPARE(window.contents()->currentRow(), 0);

    // Home on the first page does not stack another copy of it.
    window.homeAction()->trigger();
    window.backAction()->trigger();
    QCOMPARE(helpPageIndex(window.browser()->source()), 4);
}

void TestHelp::linkFollowedFromPage() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    writeTinyPages(dir.path());
    HelpWindow window(dir.path());
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    // Keyboard activation goes through the same path as a click on the link.
    window.browser()->setFocus();
    QTest::keyClick(window.browser(), Qt::Key_Tab);
    QTest::keyClick(window.browser(), Qt::Key_Return);
    QCOMPARE(helpPageIndex(window.browser()->source()), 1);
    QCOMPARE(window.contents()->currentRow(), 1);
    QVERIFY(window.browser()->toPlainText().contains(QStringLiteral("страница 2")));
}

void TestHelp::pageSource_data() {
    QTest::addColumn<int>("index");
    for (int i = 0; i < helpPages().size(); ++i)
        QTest::newRow(qPrintable(helpPages().at(i).file)) << i;
}

void TestHelp::pageSource() {
    QFETCH(int, index);
    const QDir pages(QStringLiteral(KIVOR_HELP_PAGES));
    bool valid = false;
    const QString text = readUtf8(pages.absoluteFilePath(helpPages().at(index).file), &valid);
    QVERIFY2(valid, "the page is missing or not valid UTF-8");
    QVERIFY(text.contains(QStringLiteral("<meta charset=\"utf-8\">")));

    // The heading is what the contents list promises.
    QCOMPARE(captures(text, QStringLiteral("<h1>([^<]*)</h1>")),
             QStringList{helpPages().at(index).title});

    const QStringList pictures = captures(text, QStringLiteral("<img\\s+src=\"([^\"]*)\""));
    QVERIFY(pictures.contains(QStringLiteral("x.bmp")));
    for (const QString& picture : pictures)
        QVERIFY2(requiredPictures.contains(picture) || questionPictures.contains(picture) ||
                     hintPictures.contains(picture),
                 qPrintable(picture));
    const QStringList tags = captures(text, QStringLiteral("(<img[^>]*>)"));
    for (const QString& tag : tags) {
        for (const char* attribute : {"width=\"", "height=\"", "alt=\""})
            QVERIFY2(tag.contains(QLatin1String(attribute)), qPrintable(tag));
    }

    // Every link leads to a page of the help, and to an anchor that exists there.
    for (const QString& href : captures(text, QStringLiteral("<a\\s+href=\"([^\"]*)\""))) {
        const QUrl url(href);
        const QString file = url.path().isEmpty() ? helpPages().at(index).file : url.path();
        QVERIFY2(helpPageIndex(QUrl(file)) >= 0, qPrintable(href));
        if (!url.hasFragment())
            continue;
        bool targetValid = false;
        const QString target = readUtf8(pages.absoluteFilePath(file), &targetValid);
        QVERIFY(targetValid);
        QVERIFY2(target.contains(QStringLiteral("<a name=\"%1\">").arg(url.fragment())),
                 qPrintable(href));
    }
}

void TestHelp::everyRequiredPictureShown() {
    const QDir pages(QStringLiteral(KIVOR_HELP_PAGES));
    QSet<QString> shown;
    for (const HelpPage& page : helpPages()) {
        bool valid = false;
        const QString text = readUtf8(pages.absoluteFilePath(page.file), &valid);
        for (const QString& picture : captures(text, QStringLiteral("<img\\s+src=\"([^\"]*)\"")))
            shown.insert(picture);
    }
    for (const QString& picture : requiredPictures)
        QVERIFY2(shown.contains(picture), qPrintable(picture));
}

QTEST_MAIN(TestHelp)
#include "tst_help.moc"
