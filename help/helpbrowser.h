#pragma once

#include <QTextBrowser>

// The page view. A page that cannot be read turns into a message instead of
// an empty view, and a missing picture into a placeholder of the same size.
class HelpBrowser : public QTextBrowser {
    Q_OBJECT
public:
    explicit HelpBrowser(QWidget* parent = nullptr);

    QVariant loadResource(int type, const QUrl& name) override;
};
