#include "helpwindow.h"

#include "helpbrowser.h"
#include "helppages.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QFont>
#include <QIcon>
#include <QKeySequence>
#include <QListWidget>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QSplitter>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>
#include <QUrl>

HelpWindow::HelpWindow(const QString& folder, QWidget* parent)
    : QMainWindow(parent), m_folder(folder) {
    setWindowTitle(QStringLiteral("Kivor – помощ"));
    const QString logo = QDir(folder).absoluteFilePath(QStringLiteral("x.bmp"));
    if (QFileInfo::exists(logo))
        setWindowIcon(QIcon(logo));

    m_contents = new QListWidget;
    m_contents->setObjectName(QStringLiteral("contents"));
    for (const HelpPage& page : helpPages())
        m_contents->addItem(page.title);
    m_contents->setMinimumWidth(170);
    m_contents->setSpacing(3);
    QFont listFont = m_contents->font();
    listFont.setPointSizeF(listFont.pointSizeF() * 1.15);
    m_contents->setFont(listFont);

    m_browser = new HelpBrowser;
    m_browser->setObjectName(QStringLiteral("browser"));
    m_browser->setSearchPaths({folder});

    auto* splitter = new QSplitter;
    splitter->addWidget(m_contents);
    splitter->addWidget(m_browser);
    splitter->setStretchFactor(0, 0);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({200, 760});
    splitter->setChildrenCollapsible(false);
    setCentralWidget(splitter);

    auto* bar = addToolBar(QStringLiteral("Навигация"));
    bar->setObjectName(QStringLiteral("navigation"));
    bar->setMovable(false);
    bar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    m_back = bar->addAction(style()->standardIcon(QStyle::SP_ArrowBack), QStringLiteral("Назад"));
    m_back->setObjectName(QStringLiteral("back"));
    m_back->setShortcut(QKeySequence::Back);
    m_back->setToolTip(QStringLiteral("Предишната прочетена страница"));
    m_back->setEnabled(false);
    m_forward =
        bar->addAction(style()->standardIcon(QStyle::SP_ArrowForward), QStringLiteral("Напред"));
    m_forward->setObjectName(QStringLiteral("forward"));
    m_forward->setShortcut(QKeySequence::Forward);
    m_forward->setToolTip(QStringLiteral("Следващата прочетена страница"));
    m_forward->setEnabled(false);
    m_home =
        bar->addAction(style()->standardIcon(QStyle::SP_DirHomeIcon), QStringLiteral("Начало"));
    m_home->setObjectName(QStringLiteral("home"));
    m_home->setShortcut(QKeySequence(Qt::ALT | Qt::Key_Home));
    m_home->setToolTip(QStringLiteral("Страницата „Съдържание“"));

    connect(m_back, &QAction::triggered, m_browser, &QTextBrowser::backward);
    connect(m_forward, &QAction::triggered, m_browser, &QTextBrowser::forward);
    connect(m_home, &QAction::triggered, this, [this] { showPage(0); });
    connect(m_browser, &QTextBrowser::backwardAvailable, m_back, &QAction::setEnabled);
    connect(m_browser, &QTextBrowser::forwardAvailable, m_forward, &QAction::setEnabled);
    connect(m_browser, &QTextBrowser::sourceChanged, this, &HelpWindow::sourceChanged);
    connect(m_browser, qOverload<const QUrl&>(&QTextBrowser::highlighted), this,
            &HelpWindow::linkHovered);
    connect(m_contents, &QListWidget::currentRowChanged, this, &HelpWindow::contentsRowChanged);

    statusBar();
    resize(980, 700);
    showPage(0);
}

void HelpWindow::showPage(int index) {
    const QUrl url = helpPageUrl(m_folder, index);
    // Asking again for the page already shown only brings its top back, so the
    // history does not fill with copies of one page.
    if (m_browser->source().adjusted(QUrl::RemoveFragment) == url) {
        m_browser->verticalScrollBar()->setValue(0);
        return;
    }
    m_browser->setSource(url);
}

void HelpWindow::contentsRowChanged(int row) {
    if (row >= 0 && helpPageIndex(m_browser->source()) != row)
        showPage(row);
}

void HelpWindow::sourceChanged(const QUrl& url) {
    // Follow the page shown in the contents list without asking for it again.
    const QSignalBlocker blocker(m_contents);
    const int index = helpPageIndex(url);
    if (index < 0)
        m_contents->clearSelection();
    m_contents->setCurrentRow(index);
}

void HelpWindow::linkHovered(const QUrl& url) {
    if (url.isEmpty()) {
        statusBar()->clearMessage();
        return;
    }
    const int index = helpPageIndex(url);
    statusBar()->showMessage(index >= 0 ? helpPages().at(index).title : url.toString());
}

#include "moc_helpwindow.cpp"
