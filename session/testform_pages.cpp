// The session window's page handlers: the page changes, the picture page,
// the condition strip and the feedback banner.
#include "testform.h"

#include "eventlabel.h"
#include "picturebox.h"
#include "sessionrun.h"
#include "wrapbox.h"

#include "media/picture.h"
#include "question/question.h"
#include "store/datamodule.h"
#include "ui/instances.h"

#include <QCheckBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QStackedWidget>
#include <QTimer>

void TTestForm::Pages1PageChanged(int page) {
    switch (page) {
    case FourAnswers:
    case Terms:
    case GapText:
        TopPanel1->show();
        ButtomPanel1->show();
        break;
    case PicturePage:
        TopPanel1->hide();
        ButtomPanel1->hide();
        break;
    case FullAnswerPage: {
        TopPanel1->hide();
        ButtomPanel1->show();
        if (tutorRun()) {
            const Query& temp = DataModule2->Temp;
            FullAns->setText(temp.text(QStringLiteral("fullans")));
            FAP->refit();
            if (question::kindOf(temp.integer(QStringLiteral("typequest"))) ==
                question::Kind::Choice) {
                GPQ->show();
                QuestTTR->setText(temp.text(QStringLiteral("quest")));
            } else {
                QuestTTR->clear();
                GPQ->hide();
            }
            m_gpqBox->refit();
        }
        Panel10->hide();
        break;
    }
    default:
        break;
    }
}

void TTestForm::showPicture(int questionId, const QByteArray& blob) {
    if (questionId == m_pictureId)
        return;
    m_pictureId = questionId;
    // Only the bytes: each box decodes them at the size it shows them, and
    // nothing of the question left behind stays decoded.
    // A sound header may front damaged data or a picture the loader refuses
    // (a scan bomb): one decoding at a thumbnail's size tells, at a fraction
    // of the cost of a whole one, so such a picture is given no room at all.
    const QByteArray shown = decodePicture(blob, QSize(64, 64)).isNull() ? QByteArray() : blob;
    for (PictureBox* box : {DBImage1, DBImage2, DBImage3})
        box->setPicture(shown);
    // A question without a picture (or with one that cannot be shown) gives
    // its room to the text.
    const bool picture = DBImage2->hasPicture();
    m_questPictureColumn->setVisible(picture);
    DBImage3->setVisible(picture);
    Label24->setVisible(picture);
}

void TTestForm::Label1Click() {
    ImageReturnPage = 0;
    Pages1->setCurrentIndex(PicturePage);
}

void TTestForm::Label24Click() {
    ImageReturnPage = 1;
    Pages1->setCurrentIndex(PicturePage);
}

void TTestForm::Label2Click() {
    if (ImageReturnPage == 0)
        Pages1->setCurrentIndex(FourAnswers);
    else if (ImageReturnPage == 1)
        Pages1->setCurrentIndex(GapText);
}

void TTestForm::chnsize1Click() {
    DBImage1->setStretch(!chnsize1->isChecked());
}

void TTestForm::SpeedButton1MouseDown() {
    ScrollerLeft1->start();
}

void TTestForm::SpeedButton1MouseUp() {
    ScrollerLeft1->stop();
}

void TTestForm::SpeedButton2MouseDown() {
    ScrollerRight1->start();
}

void TTestForm::SpeedButton2MouseUp() {
    ScrollerRight1->stop();
}

void TTestForm::ScrollerLeft1Timer() {
    con->move(con->x() + 1, con->y());
}

void TTestForm::ScrollerRight1Timer() {
    con->move(con->x() - 1, con->y());
}

void TTestForm::SpeedButton5Click() {
    con->move(kConditionStart, con->y());
}

void TTestForm::StaticText2Click() {
    Panel10->hide();
}

void TTestForm::showFeedback(Feedback feedback) {
    if (feedback == Feedback::None)
        return;
    StaticText2->setText(feedback == Feedback::Right ? QStringLiteral("вярно")
                                                     : QStringLiteral("грешно"));
    centreBanner();
    Panel10->show();
    Panel10->raise();
}
