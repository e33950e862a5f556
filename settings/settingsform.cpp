#include "settingsform.h"

#include "kit/balloons.h"
#include "kit/messages.h"
#include "kit/namedchild.h"
#include "registry.h"
#include "settingsstore.h"
#include "spinfield.h"
#include "store/connstr.h"
#include "store/datamodule.h"
#include "store/paths.h"
#include "ui/balloontexts.h"
#include "ui/instances.h"
#include "ui/mainwindow.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScopeGuard>
#include <QScreen>
#include <QShowEvent>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

SpinField* spinField(QWidget* parent, const char* name, int value) {
    auto* field = namedChild<SpinField>(parent, name);
    field->setLimits(settingOf(name).range);
    field->setValue(value);
    field->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    return field;
}

template <typename Layout> Layout* compact(Layout* layout) {
    layout->setContentsMargins(6, 4, 6, 4);
    layout->setSpacing(4);
    return layout;
}

} // namespace

TSettingsForm::TSettingsForm(QWidget* parent) : TForm(parent, {}, TForm::Guard::Show) {
    setObjectName(QStringLiteral("SettingsForm"));
    // A tool window with a title but no close box.
    setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setWindowTitle(QStringLiteral("Настройки"));
    // The window is left through its two buttons only.
    refuseOtherCloses();
    QFont font(QStringLiteral("Arial"));
    font.setPointSize(8);
    setFont(font);
    setFixedSize(374, 244);

    PageControl1 = namedChild<QTabWidget>(this, "PageControl1");
    PageControl1->setGeometry(4, 4, 366, 205);
    buildKivorPage();
    buildTestPage();
    buildTutorPage();

    CancelBtn = namedChild<QPushButton>(this, "CancelBtn", QStringLiteral("Отказ"));
    CancelBtn->setGeometry(214, 214, 75, 25);
    SaveBtn = namedChild<QPushButton>(this, "SaveBtn", QStringLiteral("Запази"));
    SaveBtn->setGeometry(295, 214, 75, 25);

    connect(chtime1, &QCheckBox::toggled, this, &TSettingsForm::chtime1Click);
    connect(unnumcor1, &QCheckBox::toggled, this, &TSettingsForm::unnumcor1Click);
    connect(Button3, &QPushButton::clicked, this, &TSettingsForm::Button3Click);
    connect(CancelBtn, &QPushButton::clicked, this, &TSettingsForm::CancelBtnClick);
    connectGuarded(SaveBtn, &QPushButton::clicked, this, &TSettingsForm::savebtnClick);
}

TSettingsForm::~TSettingsForm() = default;

void TSettingsForm::buildKivorPage() {
    TabSheet1 = namedChild<QWidget>(nullptr, "TabSheet1");
    PageControl1->addTab(TabSheet1, QStringLiteral("Kivor"));

    GroupBox1 = namedChild<QGroupBox>(TabSheet1, "GroupBox1", QStringLiteral("Помощ"));
    shsc0 =
        namedChild<QCheckBox>(GroupBox1, "shsc0", QStringLiteral("показвай помощ при стариране"));
    sbt0 = namedChild<QCheckBox>(GroupBox1, "sbt0", QStringLiteral("показвай балони с описание"));
    auto* help = compact(new QVBoxLayout(GroupBox1));
    help->addWidget(shsc0);
    help->addWidget(sbt0);

    Button2 =
        namedChild<QPushButton>(TabSheet1, "Button2", QStringLiteral("Покажи началния прозорец"));
    Button2->setEnabled(false);

    auto* page = compact(new QVBoxLayout(TabSheet1));
    page->addWidget(GroupBox1);
    page->addWidget(Button2, 0, Qt::AlignLeft);
    page->addStretch();
}

void TSettingsForm::buildTestPage() {
    TabSheet2 = namedChild<QWidget>(nullptr, "TabSheet2");
    PageControl1->addTab(TabSheet2, QStringLiteral("Тест"));

    sbbc1 = namedChild<QCheckBox>(TabSheet2, "sbbc1",
                                  QStringLiteral("показвай бутон за връщане един въпрос назад"));
    srqc1 = namedChild<QCheckBox>(TabSheet2, "srqc1",
                                  QStringLiteral("възможност за разхождане по въпросите"));
    chtime1 = namedChild<QCheckBox>(TabSheet2, "chtime1", QStringLiteral("време"));
    hour1 = spinField(TabSheet2, "hour1", 0);
    min1 = spinField(TabSheet2, "min1", 0);
    sec1 = spinField(TabSheet2, "sec1", 0);
    Label1 = namedChild<QLabel>(TabSheet2, "Label1", QStringLiteral("часове"));
    Label2 = namedChild<QLabel>(TabSheet2, "Label2", QStringLiteral("минути"));
    Label3 = namedChild<QLabel>(TabSheet2, "Label3", QStringLiteral("секунди"));
    for (SpinField* field : {hour1, min1, sec1})
        field->setEnabled(false);

    GroupBox2 =
        namedChild<QGroupBox>(TabSheet2, "GroupBox2", QStringLiteral("Брой поправки на отговор"));
    unnumcor1 = namedChild<QCheckBox>(GroupBox2, "unnumcor1", QStringLiteral("неограничен брой"));
    numcor1 = spinField(GroupBox2, "numcor1", 1);
    auto* corrections = compact(new QHBoxLayout(GroupBox2));
    corrections->addWidget(unnumcor1);
    corrections->addWidget(numcor1);
    corrections->addStretch();

    Button3 = namedChild<QPushButton>(TabSheet2, "Button3", QStringLiteral("стандартни настройки"));

    auto* time = new QHBoxLayout;
    time->setSpacing(4);
    time->addWidget(chtime1);
    time->addWidget(hour1);
    time->addWidget(Label1);
    time->addWidget(min1);
    time->addWidget(Label2);
    time->addWidget(sec1);
    time->addWidget(Label3);
    time->addStretch();

    auto* page = compact(new QVBoxLayout(TabSheet2));
    page->addWidget(sbbc1);
    page->addWidget(srqc1);
    page->addLayout(time);
    page->addWidget(GroupBox2);
    page->addWidget(Button3, 0, Qt::AlignRight);
    page->addStretch();
}

void TSettingsForm::buildTutorPage() {
    TabSheet3 = namedChild<QWidget>(nullptr, "TabSheet3");
    PageControl1->addTab(TabSheet3, QStringLiteral("Обучение"));

    sbbc2 = namedChild<QCheckBox>(TabSheet3, "sbbc2",
                                  QStringLiteral("показвай бутон за връщане един въпрос назад"));
    srqc2 = namedChild<QCheckBox>(TabSheet3, "srqc2",
                                  QStringLiteral("възможност за \"разхождане\" по въпросите"));

    GroupBox3 = namedChild<QGroupBox>(TabSheet3, "GroupBox3", QStringLiteral("Помощ"));
    sdc2d = namedChild<QCheckBox>(GroupBox3, "sdc2d", QStringLiteral("показвай речник по"));
    sfac2d =
        namedChild<QCheckBox>(GroupBox3, "sfac2d", QStringLiteral("показвай изчерпателен отговор"));
    for (QCheckBox* alwaysOn : {sdc2d, sfac2d}) {
        alwaysOn->setChecked(true);
        alwaysOn->setEnabled(false);
    }
    dict2 = namedChild<QComboBox>(GroupBox3, "dict2");
    dict2->setVisible(false);

    auto* dictionary = new QHBoxLayout;
    dictionary->setSpacing(4);
    dictionary->addWidget(sdc2d);
    dictionary->addWidget(dict2);
    dictionary->addStretch();
    auto* help = compact(new QVBoxLayout(GroupBox3));
    help->addLayout(dictionary);
    help->addWidget(sfac2d);

    auto* page = compact(new QVBoxLayout(TabSheet3));
    page->addWidget(sbbc2);
    page->addWidget(srqc2);
    page->addWidget(GroupBox3);
    page->addStretch();
}

QString TSettingsForm::programFolder() const {
    return MainWindow ? MainWindow->ProgramFolder : m_programFolder;
}

void TSettingsForm::showEvent(QShowEvent* event) {
    // Coming back from minimised is no new showing and keeps its place.
    if (!event->spontaneous())
        if (const QScreen* s = screen())
            move(s->availableGeometry().center() - rect().center());
    TForm::showEvent(event);
}

void TSettingsForm::FormShow() {
    if (MainWindow)
        MainWindow->hide();
    RegUpdate();
    // Without a folder the path would point at the root of the file system.
    const QString folder = programFolder();
    if (!folder.isEmpty()) {
        const QString lan = programPath(folder, QStringLiteral("\\lan"));
        if (QFileInfo(lan).isFile())
            QFile::remove(lan);
    }
    ShowBalloons_Settings(*this);
}

void TSettingsForm::FormClose() {
    if (MainWindow)
        MainWindow->show();
}

void TSettingsForm::CancelBtnClick() {
    closeByButton();
}

void TSettingsForm::chtime1Click() {
    const bool timed = chtime1->isChecked();
    for (SpinField* field : {hour1, min1, sec1})
        field->setEnabled(timed);
}

void TSettingsForm::unnumcor1Click() {
    numcor1->setEnabled(!unnumcor1->isChecked());
}

void TSettingsForm::Button3Click() {
    for (const Setting& s : kSettings)
        if (onTestPage(s))
            setControl(s, s.firstRun);
    chtime1Click();
    unnumcor1Click();
}

QVariant TSettingsForm::controlValue(const Setting& s) const {
    const QWidget* control = findChild<QWidget*>(QLatin1String(s.control));
    if (const auto* box = qobject_cast<const QCheckBox*>(control))
        return box->isChecked();
    if (const auto* field = qobject_cast<const SpinField*>(control))
        return field->value();
    return qobject_cast<const QComboBox*>(control)->currentText();
}

void TSettingsForm::setControl(const Setting& s, const QVariant& value) {
    QWidget* control = findChild<QWidget*>(QLatin1String(s.control));
    if (auto* box = qobject_cast<QCheckBox*>(control))
        box->setChecked(value.toBool());
    else if (auto* field = qobject_cast<SpinField*>(control))
        field->setValue(value.toInt());
}

void TSettingsForm::RegUpdate() {
    const QList<RegistryValue> defaults =
        firstRunValues([this](const Setting& s) { return controlValue(s); });
    if (!registryKeyExists(regkeys::LocalSettings)) {
        // All at once: a program killed meanwhile leaves the settings as a
        // first run finds them, or complete.
        writeRegistryValues(defaults);
    } else if (const QStringList filled = fillMissingValues(defaults); !filled.isEmpty()) {
        // Said once: the values are there from now on.
        showMessage(MessageKind::Information,
                    QStringLiteral("Някои настройки липсваха и са върнати към стандартните:\r%1")
                        .arg(filled.join(QStringLiteral("\r"))));
    }

    // The enabled states follow the boxes also when the load stops part way.
    const auto follow = qScopeGuard([this] {
        chtime1Click();
        unnumcor1Click();
    });
    forEachKey(kLoaded, [this](const QList<const Setting*>& settings) {
        RegistryKey key(QString::fromLatin1(settings[0]->key), RegistryKey::Open::Existing);
        for (const Setting* s : settings)
            setControl(*s, readSetting(key, *s));
    });
    sfac2d->setChecked(true);
    sdc2d->setChecked(true);
    dict2->setVisible(false);
    dict2->setCurrentIndex(-1);
}

void TSettingsForm::savebtnClick() {
    forEachKey(kSaved, [this](const QList<const Setting*>& settings) {
        RegistryKey key(QString::fromLatin1(settings[0]->key), RegistryKey::Open::Create);
        for (const Setting* s : settings)
            writeSetting(key, *s, controlValue(*s));
        key.close();
        // The hint switch takes effect as soon as its key is written.
        if (qstrcmp(settings[0]->key, regkeys::LocalSettings) == 0)
            setBalloonsEnabled(sbt0->isChecked());
    });
    closeByButton();
}

void TSettingsForm::Dict() {
    if (!DataModule2)
        throw LayerError(QStringLiteral("Модулът с данните на програмата не е създаден."));
    Query& dicts = DataModule2->Dicts;
    dicts.close();
    dicts.setConnectionString(connectionString(programFolder(), DbFile::Dict));
    dicts.clearSql();
    dicts.addSql(QStringLiteral("select * from dicts"));
    dicts.open();
    dicts.first();
    // Read every row before the list is touched, so that a failure part way
    // leaves the list as it was.
    QStringList languages;
    while (!dicts.eof()) {
        languages.append(dicts.text(QStringLiteral("Lang")));
        dicts.next();
    }
    // The list's text is the dictionary choice; filling the list must not
    // pick one.
    const QString choice = dict2->currentText();
    dict2->clear();
    dict2->addItems(languages);
    dict2->setCurrentIndex(dict2->findText(choice));
}

#include "moc_settingsform.cpp"
