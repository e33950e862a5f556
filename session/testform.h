#pragma once

#include "kit/form.h"

#include <QColor>
#include <QImage>
#include <QString>
#include <array>
#include <memory>

class EventLabel;
class MatchCanvas;
class RunSettings;
class SessionRun;
namespace question {
enum class Kind;
}
enum class Feedback;
struct TextChange;
class PictureBox;
class Query;
class QCheckBox;
class QCursor;
class QFrame;
class QGroupBox;
class QHBoxLayout;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QStatusBar;
class QListWidget;
class QPushButton;
class QScrollArea;
class QSlider;
class QStackedWidget;
class QTextEdit;
class QTimer;
class QToolButton;
class QVBoxLayout;
class WrapBox;

// The session window: one run's questions, shown one at a time on the page
// of their kind, answered, and left by "Приключих" or when the time is up.
// It is made once and reused for every run; the subject window shows it over
// a freshly drawn question list (DataModule2->Temp open on temp4).
class TTestForm : public TForm {
    Q_OBJECT
    // The run's answers and score; made first, since Score below is its own.
    std::unique_ptr<RunSettings> m_runSettings;
    std::unique_ptr<SessionRun> m_run;

public:
    explicit TTestForm(QWidget* parent = nullptr);
    ~TTestForm() override;

    // The model of the run this window is the front end of.
    SessionRun& run() const { return *m_run; }

    // Pages of the notebook, in the order they are added.
    enum Page { FourAnswers = 0, Terms = 1, GapText = 2, PicturePage = 3, FullAnswerPage = 4 };
    // The page that shows a question of the kind.
    static Page pageOf(question::Kind kind);

    // --- Run state (read by the results window and the printout) ---
    qint32& Score;
    QChar ChosenLetter;
    qint32 LeftHours = 0;
    qint32 LeftMinutes = 0;
    qint32 LeftSeconds = 0;
    qint32 ElapsedHours = 0;
    qint32 ElapsedMinutes = 0;
    qint32 ElapsedSeconds = 0;
    QString ElapsedText;
    // True once gap rows have been posted (posts minus deletes above 0).
    bool GapRowsFlag = false;
    // The page the picture page goes back to: 0 four answers, 1 gap text.
    int ImageReturnPage = 0;

    QTimer* Timer1 = nullptr;       // count-down, 1 s
    QTimer* Timer5 = nullptr;       // time used, 1 s
    QTimer* DesignTimer1 = nullptr; // layout pass once after set-up
    QTimer* ScrollerLeft1 = nullptr;
    QTimer* ScrollerRight1 = nullptr;

    // --- Top strip ---
    QFrame* TopPanel1 = nullptr;
    QToolButton* SpeedButton5 = nullptr; // "|<"
    QToolButton* SpeedButton1 = nullptr; // "<<"
    QFrame* ScrollCon = nullptr;
    QLabel* con = nullptr;
    QToolButton* SpeedButton2 = nullptr; // ">>"
    EventLabel* fal1 = nullptr;          // "Покажи изчерпателен отговор"
    QFrame* fab1 = nullptr;

    // --- Bottom strip ---
    QFrame* ButtomPanel1 = nullptr;
    QPushButton* EndBtn = nullptr;
    QLabel* Timer2 = nullptr;
    QSlider* QP1 = nullptr;
    QPushButton* BackBtn = nullptr;
    QPushButton* NextBtn = nullptr;

    QStackedWidget* Pages1 = nullptr;

    // --- Feedback banner of tutor runs ---
    QFrame* Panel10 = nullptr;
    EventLabel* StaticText2 = nullptr;
    EventLabel* StatusBar2 = nullptr; // the banner's status line

    // --- Page 0: four answers ---
    QFrame* QuestPanel = nullptr;
    WrapBox* PQuest = nullptr;
    QLabel* Quest = nullptr;
    PictureBox* DBImage2 = nullptr;
    EventLabel* Label1 = nullptr; // "Покажи изображението самостоятелно"
    QWidget* ClientPanel = nullptr;
    WrapBox* pans1 = nullptr;
    WrapBox* pans2 = nullptr;
    WrapBox* pans3 = nullptr;
    WrapBox* pans4 = nullptr;
    EventLabel* ans1 = nullptr;
    EventLabel* ans2 = nullptr;
    EventLabel* ans3 = nullptr;
    EventLabel* ans4 = nullptr;

    // --- Page 1: terms and meanings (the matching canvas goes between) ---
    QWidget* Panel8 = nullptr;
    WrapBox *pon1 = nullptr, *pon2 = nullptr, *pon3 = nullptr, *pon4 = nullptr, *pon5 = nullptr,
            *pon6 = nullptr, *pon7 = nullptr, *pon8 = nullptr, *pon9 = nullptr, *pon10 = nullptr;
    EventLabel *t1 = nullptr, *t2 = nullptr, *t3 = nullptr, *t4 = nullptr, *t5 = nullptr,
               *t6 = nullptr, *t7 = nullptr, *t8 = nullptr, *t9 = nullptr, *t10 = nullptr;
    WrapBox *pto1 = nullptr, *pto2 = nullptr, *pto3 = nullptr, *pto4 = nullptr, *pto5 = nullptr,
            *pto6 = nullptr, *pto7 = nullptr, *pto8 = nullptr, *pto9 = nullptr, *pto10 = nullptr;
    EventLabel *tr1 = nullptr, *tr2 = nullptr, *tr3 = nullptr, *tr4 = nullptr, *tr5 = nullptr,
               *tr6 = nullptr, *tr7 = nullptr, *tr8 = nullptr, *tr9 = nullptr, *tr10 = nullptr;
    QWidget* ImgPnl1 = nullptr;
    MatchCanvas* ImgCnvs1 = nullptr;
    EventLabel* clBtn = nullptr; // "премахни тази линия"
    QLabel* arrow1 = nullptr;
    // A term has been picked and no meaning pressed yet.
    bool LineOpen = false;
    QColor LineColour;
    // The meaning the remove-line button belongs to.
    int MeaningIndex = 0;
    QString ButtonMeaning;

    // --- Page 2: gap text ---
    QTextEdit* Text1 = nullptr;
    QFrame* clBtn1 = nullptr;
    EventLabel* clImg = nullptr;
    PictureBox* DBImage3 = nullptr;
    EventLabel* Label24 = nullptr; // "Покажи изображението самостоятелно"
    QLabel* StaticText1 = nullptr; // "Думи"
    QListWidget* Words1 = nullptr;
    // The word last placed, or the placed word last selected for removal,
    // and the position of its gap.
    QString CurrentWord;
    int CurrentGapStart = 0;

    // --- Page 3: the picture alone ---
    PictureBox* DBImage1 = nullptr;
    QCheckBox* chnsize1 = nullptr; // "оригинални размери"
    EventLabel* Label2 = nullptr;  // "Обратно към въпроса"

    // --- Page 4: full answer, question and dictionary ---
    QGroupBox* GroupBox1 = nullptr; // "Речник"
    QLineEdit* searchedit = nullptr;
    QPushButton* SearchBtn = nullptr; // "Търси"
    QPlainTextEdit* trans1 = nullptr;
    QStatusBar* StatusBar1 = nullptr;
    EventLabel* Label26 = nullptr; // "Обратно към въпроса"
    QGroupBox* GPQ = nullptr;
    QLabel* QuestTTR = nullptr;
    QLabel* Label23 = nullptr; // "изчерпателен отговор"
    WrapBox* FAP = nullptr;
    QLabel* FullAns = nullptr;

    // Row i (1..10) of the term page.
    WrapBox* termBox(int i) const { return m_termBoxes.at(size_t(i - 1)); }
    EventLabel* termLabel(int i) const { return m_terms.at(size_t(i - 1)); }
    WrapBox* meaningBox(int i) const { return m_meaningBoxes.at(size_t(i - 1)); }
    EventLabel* meaningLabel(int i) const { return m_meanings.at(size_t(i - 1)); }
    // Box k (1..4) of the four-answer page.
    WrapBox* answerBox(int k) const { return m_answerBoxes.at(size_t(k - 1)); }
    EventLabel* answerLabel(int k) const { return m_answers.at(size_t(k - 1)); }

    // "test" or "tutor": the run's kind, kept by the subject window.
    static QString sessionKind();
    static bool tutorRun();

    // --- Run: set-up, moves, clocks, end ---
    void FormShow() override;
    void BackBtnClick();
    void NextBtnClick();
    void QP1Change();
    void UpdateQA();
    void Timer1Timer();
    void Timer5Timer();
    void EndBtnClick();
    void FormClose() override;

    // --- Four answers ---
    void Ans1Click();
    void Ans2Click();
    void Ans3Click();
    void Ans4Click();
    void TrueAnswer();
    void ChooseAns();
    void EventChooseAns();
    void ans1MouseEnter(EventLabel* label);
    void ans1MouseLeave(EventLabel* label);

    // --- Term matching ---
    void Label4MouseDown3(EventLabel* term);
    void Label4MouseLeave3();
    void Label13MouseDown2(EventLabel* meaning);
    void Label13MouseUp2(EventLabel* meaning);
    void Label13MouseEnter2(EventLabel* meaning);
    void Label13MouseLeave2(EventLabel* meaning);
    void clBtnClick();
    void ArrowProc(int meaningRow);
    void clBtnProc();
    // The canvas cleared and the current question's lines drawn again: the
    // only way the term page is rebuilt.
    void ClearIC1();
    // Ends a pick that was never joined (Esc, or the question changing).
    void dropPick();
    // The row (1..10) the keyboard focus of the term page stands on, and its
    // column: false the terms, true the meanings.
    int keyRow() const { return m_keyRow; }
    bool keyOnMeanings() const { return m_keyOnMeanings; }

    // --- Full answer and dictionary (tutor runs) ---
    void fal1Click();
    void Label26Click();
    void searchbtnClick();
    void searcheditKeyDown();
    // --- Gap fill ---
    void Words1Click();
    // `p` is the caret position the press produced; a key press on the text
    // presses at the gap the keyboard stands on.
    void Text1MouseDown(int p);
    void M0(int p);
    void clImgClick();
    void DeleteWord();
    void TrueAnswerW(const QString& word, int start, bool feedback, bool removal);
    // Makes a change of the gap text the run model asked for.
    void showTextChange(const TextChange& change);
    // A gap question has just been put on the page: no pick, no selection,
    // the keyboard back on the first gap.
    void gapPageShown();
    // The gap (0-based, in order of position) the keyboard stands on.
    int keyGap() const { return m_keyGap; }

    // --- Layout, picture page, condition strip, banner ---
    void Design();
    void DesignTimer1Timer();
    void Pages1PageChanged(int page);
    void Label1Click();
    void Label2Click();
    void Label24Click();
    void chnsize1Click();
    void SpeedButton1MouseDown();
    void SpeedButton1MouseUp();
    void SpeedButton2MouseDown();
    void SpeedButton2MouseUp();
    void ScrollerLeft1Timer();
    void ScrollerRight1Timer();
    void SpeedButton5Click();
    void StaticText2Click();
    // The notice of a tutor run after a scored answer: "вярно" or "грешно";
    // a test run shows none.
    void showFeedback(Feedback feedback);
    // The three picture controls follow the current question.
    void showPicture(int questionId, const QByteArray& blob);

    // Box colours of the four-answer page.
    static const QColor kPlainColour;
    static const QColor kChosenColour;
    static const QColor kHoverColour;

protected:
    void setVisible(bool visible) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildWindow();
    void buildTopStrip(QVBoxLayout* outer);
    void buildBottomStrip(QVBoxLayout* outer);
    void buildBanner();
    QWidget* buildFourAnswerPage();
    QWidget* buildTermPage();
    QWidget* buildGapPage();
    QWidget* buildPicturePage();
    QWidget* buildFullAnswerPage();
    void connectHandlers();
    void placeAnswerBoxes();
    void placeMeaningBoxes();
    void connectTermPage();
    bool termPageKey(QKeyEvent* event);
    // Enter or Space on the term page: picks the term, or joins the picked
    // term to the meaning, the focus stands on.
    void keyPickOrJoin();
    // Delete on the term page: takes back the line of the meaning in focus.
    void keyRemoveLine();
    void connectGapPage();
    bool gapTextKey(QKeyEvent* event);
    // Enter, Delete or Esc on the gap text, at a gap that holds a word or
    // not; false for any other key.
    bool gapActionKey(int key, bool gapHoldsWord);
    void keepKeyGapInView();
    bool wordListKey(QKeyEvent* event);
    void pressKeyGap();
    void showKeyGap();
    void termPageFocused(Qt::FocusReason reason);
    void moveKeyFocus(int row, bool meanings);
    void showKeyFocus();
    void setMeaningCursors(const QCursor& cursor);
    void showRemoveButton(int meaningRow);
    void centreBanner();
    // Where the condition text stands until "<<" or ">>" moves it, and where
    // "|<" puts it back.
    static constexpr int kConditionStart = 5;

    void answerClick(int box);
    void paintAnswer(int box, const QColor& boxColour, const QColor& textColour);
    void highlightAnswer(int chosenBox);
    void arrive();
    void followRowOnTrackBar();
    // A run starts with a clean term page: no lines, every label free.
    void resetMatchingPage();
    // Back to the main window without a run (an empty question list).
    void refuseEmptyRun();
    void emptyGapTables(const QList<Query*>& tables);
    bool hasQuestions() const;
    void closeRun();

    std::array<WrapBox*, 10> m_termBoxes{};
    std::array<EventLabel*, 10> m_terms{};
    std::array<WrapBox*, 10> m_meaningBoxes{};
    std::array<EventLabel*, 10> m_meanings{};
    std::array<WrapBox*, 4> m_answerBoxes{};
    std::array<EventLabel*, 4> m_answers{};
    QScrollArea* m_pictureScroll = nullptr;
    WrapBox* m_gpqBox = nullptr;
    QWidget* m_questPictureColumn = nullptr;
    int m_pictureId = -1;
    QFrame* m_keyFocus = nullptr; // the frame round the box the keyboard is on
    int m_keyRow = 1;
    bool m_keyOnMeanings = false;
    // The frame is for those who use the keys; a mouse user never sees it.
    bool m_keyFocusShown = false;
    int m_keyGap = 0;
    bool m_keyOnText = false; // the keys are used on the text: its current gap is marked
};
