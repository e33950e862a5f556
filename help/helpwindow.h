#pragma once

#include <QMainWindow>

class HelpBrowser;
class QAction;
class QListWidget;
class QUrl;

// The help window: the contents list on the left, the page on the right and
// back, forward and home in the tool bar.
class HelpWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit HelpWindow(const QString& folder, QWidget* parent = nullptr);

    HelpBrowser* browser() const { return m_browser; }
    QListWidget* contents() const { return m_contents; }
    QAction* backAction() const { return m_back; }
    QAction* forwardAction() const { return m_forward; }
    QAction* homeAction() const { return m_home; }

    void showPage(int index);

private:
    void contentsRowChanged(int row);
    void sourceChanged(const QUrl& url);
    void linkHovered(const QUrl& url);

    QString m_folder;
    HelpBrowser* m_browser = nullptr;
    QListWidget* m_contents = nullptr;
    QAction* m_back = nullptr;
    QAction* m_forward = nullptr;
    QAction* m_home = nullptr;
};
