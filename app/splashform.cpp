#include "splashform.h"

#include "globals.h"
#include "kit/messages.h"
#include "kit/namedchild.h"
#include "kit/windows.h"
#include "mainform.h"
#include "media/picture.h"
#include "requiredfiles.h"

#include <QDir>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QTimer>

TSplashForm::TSplashForm(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint) {
    setObjectName(QStringLiteral("SplashForm"));
    setFixedSize(308, 208);
    makeWhite(this);

    auto* panel = new QFrame(this);
    panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    panel->setLineWidth(2);
    panel->setGeometry(0, 0, 308, 208);
    Image1 = namedChild<QLabel>(panel, "Image1");
    Image1->setGeometry(4, 4, 300, 200);
    Image1->setAlignment(Qt::AlignCenter);
    guarded([this] {
        const QImage picture = artPicture(QStringLiteral("splash"));
        Image1->setPixmap(QPixmap::fromImage(picture).scaled(Image1->size(), Qt::KeepAspectRatio,
                                                             Qt::SmoothTransformation));
    });

    centreOnScreen(this);

    Timer1 = new QTimer(this);
    Timer1->setSingleShot(true);
    Timer1->setInterval(2500);
    connect(Timer1, &QTimer::timeout, this, &TSplashForm::Timer1Timer);
    Timer1->start();
}

void TSplashForm::Timer1Timer() {
    Timer1->stop();
    // Taken afresh: the check is about the folder the program runs in.
    if (firstMissingRequiredFile(QDir::currentPath()) < 0) {
        // The main window first: closing the only visible window would end
        // the program.
        if (MainForm) {
            MainForm->centreOnScreen();
            MainForm->show();
        }
        close();
        return;
    }
    showMessage(MessageKind::Error,
                QStringLiteral("Програмата неможе да се стартира,\rпоради липса на файлове"));
    close();
    if (MainForm)
        MainForm->close();
}

#include "moc_splashform.cpp"
