#include "settings/setup.h"

#include "app/windows.h"

#include "app/busy.h"
#include "app/globals.h"
#include "app/mainwindowport.h"
#include "platform/services/prompter.h"
#include "platform/services/services.h"
#include "platform/speech/voice.h"
#include "settings/enginecopy.h"
#include "settings/outputformats.h"
#include "settings/tembrs.h"
#include "settings/textnumber.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QSlider>
#include <QTabBar>
#include <QTabWidget>
#include <QValidator>
#include <QVBoxLayout>

namespace {

const QString kCheckEngine = QStringLiteral("Проверьте установки голосового движка!");

template <typename T> T *named(T *w, const char *name)
{
    w->setObjectName(QString::fromLatin1(name));
    return w;
}

// A control whose value the profile keeps.
template <typename T> T *saved(T *w)
{
    w->setProperty("Tag", QStringLiteral("Save"));
    return w;
}

template <typename T> T *tagged(T *w, const char *name)
{
    return saved(named(w, name));
}

QScrollBar *scrollBar(const char *name, int min, int max, int value, int pageStep,
                      const QString &toolTip = QString())
{
    auto *bar = tagged(new QScrollBar(Qt::Horizontal), name);
    bar->setRange(min, max);
    bar->setPageStep(pageStep);
    bar->setValue(value);
    bar->setToolTip(toolTip);
    bar->setMinimumWidth(80);
    return bar;
}

QSlider *slider(const char *name, int value)
{
    auto *s = tagged(new QSlider(Qt::Horizontal), name);
    s->setRange(0, 100);
    s->setPageStep(10);
    s->setValue(value);
    return s;
}

QLineEdit *lineEdit(const char *name, const QString &text, const QString &toolTip = QString())
{
    auto *e = named(new QLineEdit(text), name);
    e->setToolTip(toolTip);
    return e;
}

// The narrow number box beside a scroll bar.
QLineEdit *numberBox(const char *name, const QString &text)
{
    auto *e = lineEdit(name, text);
    e->setMaximumWidth(48);
    return e;
}

// A number box whose stored value the profile brings within [bottom, top].
QLineEdit *numberBox(const char *name, const QString &text, int bottom, int top)
{
    auto *e = numberBox(name, text);
    e->setValidator(new QIntValidator(bottom, top, e));
    return e;
}

QLabel *label(const char *name, const QString &text)
{
    return named(new QLabel(text), name);
}

QGroupBox *frame(const char *name, const QString &title)
{
    return named(new QGroupBox(title), name);
}

// A member of the frame array "паузы".
QGroupBox *pauseFrame(int index, const QString &title)
{
    auto *f = new QGroupBox(title);
    f->setObjectName(QStringLiteral("паузы"));
    f->setProperty("Index", index);
    return f;
}

QCheckBox *checkBox(const char *name, const QString &text, bool checked)
{
    auto *c = tagged(new QCheckBox(text), name);
    c->setChecked(checked);
    return c;
}

QRadioButton *option(const char *name, const QString &text, bool checked)
{
    auto *o = tagged(new QRadioButton(text), name);
    o->setChecked(checked);
    return o;
}

QPushButton *button(const char *name, const QString &text, const QString &toolTip = QString())
{
    auto *b = named(new QPushButton(text), name);
    b->setToolTip(toolTip);
    return b;
}

QHBoxLayout *row(std::initializer_list<QWidget *> widgets)
{
    auto *layout = new QHBoxLayout;
    for (QWidget *w : widgets)
        layout->addWidget(w);
    return layout;
}

void statusPanel(int panel, const QString &text)
{
    if (MainWindowPort *main = mainwindowport::get())
        main->setStatusPanel(panel, text);
}

void durationEstimate()
{
    if (MainWindowPort *main = mainwindowport::get())
        main->Dlitelnost();
}

// A text box beside a scroll bar moves the bar to the number typed; text the bar does
// not take is ignored while typing and replaced by the bar's value when editing ends.
void pairWithBar(QLineEdit *text, QScrollBar *bar)
{
    auto takes = [bar](const QString &typed) -> std::optional<int> {
        const auto value = toInt16(typed);
        if (!value || *value < bar->minimum() || *value > bar->maximum())
            return std::nullopt;
        return *value;
    };
    QObject::connect(text, &QLineEdit::textChanged, bar, [bar, takes](const QString &typed) {
        if (const auto value = takes(typed))
            bar->setValue(*value);
    });
    QObject::connect(text, &QLineEdit::editingFinished, bar, [text, bar, takes] {
        if (takes(text->text()) != bar->value())
            text->setText(int16Text(bar->value()));
    });
}

} // namespace

Setup::Setup(QWidget *parent) : ToolWindow(parent)
{
    setObjectName(QStringLiteral("setup"));
    setWindowTitle(QStringLiteral("Quenvale настройки"));

    profil = lineEdit("profil", QStringLiteral("User1"));
    profil->setParent(this);
    profil->hide();
    settingsstore::setProfileSource(
        [field = QPointer<QLineEdit>(profil)] { return field ? field->text() : QString(); });

    SSTab2 = named(new QTabWidget, "SSTab2");
    SSTab2->addTab(createVoicePage(), QStringLiteral("голос"));
    SSTab2->addTab(createRecordingPage(), QStringLiteral("запись"));
    SSTab2->addTab(createOptionsPage(), QStringLiteral("опции"));

    auto *layout = new QVBoxLayout(this);
    createMenus();
    layout->setMenuBar(menuBar);
    layout->addWidget(SSTab2);
    createProfiles(*layout);

    connectHandlers();
    nameControls();
}

Setup::~Setup() = default;

void Setup::nameControls()
{
    // Captions a screen reader cannot tie to their field, or that three fields share.
    SSTab2->setAccessibleName(QStringLiteral("Страницы настроек"));
    SSTab1->setAccessibleName(QStringLiteral("Формат аудиозаписи"));
    lstSapi5->setAccessibleName(QStringLiteral("Голос"));
    const QString columns[] = {QStringLiteral("повествование"), QStringLiteral("диалог"),
                               QStringLiteral("комментарий")};
    for (const auto &[caption, fields] :
         {std::pair{QStringLiteral("Скорость речи"), std::array<QWidget *, 3>{Text4, Text5, Text6}},
          {QStringLiteral("Высота голоса"), {Text7, Text8, Text9}},
          {QStringLiteral("Громкость"), {Slider1, Slider2, Slider3}}})
        for (int i = 0; i < 3; ++i)
            fields[i]->setAccessibleName(caption + QStringLiteral(": ") + columns[i]);
    int version = 1;
    for (QRadioButton *o : {Option1, Option2, Option3})
        o->setAccessibleName(QStringLiteral("Версия голосового движка %1").arg(version++));
    Combo1->setAccessibleName(QStringLiteral("Качество MP3"));
    Text3->setAccessibleName(QStringLiteral("Параметры Lame"));
    Text1->setAccessibleName(QStringLiteral("Пауза в начале блока, сек."));
    Text2->setAccessibleName(QStringLiteral("Пауза в конце блока, сек."));
    Command11->setAccessibleName(QStringLiteral("Выбрать рабочий каталог"));
    Text14->setAccessibleName(QStringLiteral("Композиция"));
    Text10->setAccessibleName(QStringLiteral("Исполнитель"));
    Text21->setAccessibleName(QStringLiteral("Число запущенных программ Quenvale"));
    Text24->setAccessibleName(QStringLiteral("Порядковый номер запущенной программы"));
}

QWidget *Setup::createVoicePage()
{
    auto *page = new QWidget;

    auto *voiceFrame = frame("Frame2", QStringLiteral("Голосовой движок"));
    lstSapi5 = tagged(new QListWidget, "lstSapi5");
    (new QVBoxLayout(voiceFrame))->addWidget(lstSapi5);

    auto *columns = frame("Frame5", QString());
    auto *captions = new QHBoxLayout(columns);
    for (auto [name, text] :
         {std::pair{"Label6", "повествование"}, {"Label7", " диалог"}, {"Label13", "комментарий"}}) {
        QLabel *caption = label(name, QString::fromUtf8(text));
        caption->setAlignment(Qt::AlignCenter);
        captions->addWidget(caption, 1);
    }

    const QString narration = QStringLiteral("Простое повествование");
    const QString dialogue = QStringLiteral("Прямая речь в диалогах");
    const QString comment = QStringLiteral("Комментарии автора");

    auto *rates = frame("Frame13", QStringLiteral("Скорость речи"));
    FlatScrollBar3 = scrollBar("FlatScrollBar3", -10, 10, 2, 1, narration);
    FlatScrollBar4 = scrollBar("FlatScrollBar4", -10, 10, 3, 1, dialogue);
    FlatScrollBar5 = scrollBar("FlatScrollBar5", -10, 10, 1, 1, comment);
    Text4 = numberBox("Text4", QStringLiteral("2"));
    Text5 = numberBox("Text5", QStringLiteral("3"));
    Text6 = numberBox("Text6", QStringLiteral("1"));
    auto *rateRow = new QHBoxLayout(rates);
    for (auto *l : {row({FlatScrollBar3, Text4}), row({FlatScrollBar4, Text5}), row({FlatScrollBar5, Text6})})
        rateRow->addLayout(l, 1);

    auto *pitches = frame("Frame14", QStringLiteral("Высота голоса"));
    FlatScrollBar6 = scrollBar("FlatScrollBar6", -10, 10, 0, 1, narration);
    FlatScrollBar7 = scrollBar("FlatScrollBar7", -10, 10, 5, 1, dialogue);
    FlatScrollBar8 = scrollBar("FlatScrollBar8", -10, 10, -5, 1, comment);
    Text7 = numberBox("Text7", QStringLiteral("0"));
    Text8 = numberBox("Text8", QStringLiteral("5"));
    Text9 = numberBox("Text9", QStringLiteral("-5"));
    auto *pitchRow = new QHBoxLayout(pitches);
    for (auto *l : {row({FlatScrollBar6, Text7}), row({FlatScrollBar7, Text8}), row({FlatScrollBar8, Text9})})
        pitchRow->addLayout(l, 1);

    Frame6 = tagged(new QGroupBox(QStringLiteral("Громкость")), "Frame6");
    Slider1 = slider("Slider1", 85);
    Slider2 = slider("Slider2", 100);
    Slider3 = slider("Slider3", 70);
    auto *volumeRow = new QHBoxLayout(Frame6);
    for (QSlider *s : {Slider1, Slider2, Slider3})
        volumeRow->addWidget(s, 1);

    auto *pauses = pauseFrame(0, QStringLiteral("Паузы"));
    FlatScrollBar2 = scrollBar("FlatScrollBar2", 0, 2000, 500, 100);
    FlatScrollBar11 = scrollBar("FlatScrollBar11", 0, 2000, 0, 100);
    FlatScrollBar12 = scrollBar("FlatScrollBar12", 0, 2000, 800, 100);
    Label14 = tagged(new QLabel(QStringLiteral("500 ms")), "Label14");
    Label8 = tagged(new QLabel(QStringLiteral("0 ms")), "Label8");
    Label10 = tagged(new QLabel(QStringLiteral("800 ms")), "Label10");
    auto *pauseGrid = new QGridLayout(pauses);
    int r = 0;
    for (auto [caption, bar, value] :
         {std::tuple{label("Label3", QStringLiteral("между абзацами")), FlatScrollBar2, Label14},
          {label("Label11", QStringLiteral("после ! и ?")), FlatScrollBar11, Label8},
          {label("Label12", QStringLiteral("после многоточия")), FlatScrollBar12, Label10}}) {
        value->setMinimumWidth(60);
        pauseGrid->addWidget(caption, r, 0);
        pauseGrid->addWidget(bar, r, 1);
        pauseGrid->addWidget(value, r, 2);
        ++r;
    }
    pauseGrid->setColumnStretch(1, 1);

    Command22 = button("Command22", QStringLiteral("Прослушать"),
                       QStringLiteral("Прослушать тестовую фразу с заданными параметрами"));
    Command55 = button("Command55", QStringLiteral("Стоп"));

    auto *engine = frame("Frame8", QString());
    Option1 = option("Option1", QStringLiteral("Option1"), false);
    Option2 = option("Option2", QStringLiteral("Option2"), false);
    Option3 = option("Option3", QStringLiteral("Option3"), true);
    auto *engineRow = new QHBoxLayout(engine);
    for (QRadioButton *o : {Option1, Option2, Option3})
        engineRow->addWidget(o);

    auto *left = new QVBoxLayout;
    left->addWidget(voiceFrame, 1);
    left->addWidget(engine);
    left->addLayout(row({Command22, Command55}));
    auto *right = new QVBoxLayout;
    for (QWidget *w :
         {static_cast<QWidget *>(columns), static_cast<QWidget *>(rates), static_cast<QWidget *>(pitches),
          static_cast<QWidget *>(Frame6), static_cast<QWidget *>(pauses)})
        right->addWidget(w);
    right->addStretch();
    auto *layout = new QHBoxLayout(page);
    layout->addLayout(left, 2);
    layout->addLayout(right, 3);
    return page;
}

QWidget *Setup::createRecordingPage()
{
    auto *page = new QWidget;

    Frame11 = tagged(new QGroupBox(QStringLiteral("Формат аудиозаписи")), "Frame11");
    SSTab1 = tagged(new QTabWidget, "SSTab1");
    (new QVBoxLayout(Frame11))->addWidget(SSTab1);

    auto *wav = new QWidget;
    FormatCB = tagged(new QComboBox, "FormatCB");
    auto *wavLayout = new QVBoxLayout(wav);
    wavLayout->addWidget(FormatCB);
    wavLayout->addStretch();

    auto *mp3 = new QWidget;
    Combo1 = tagged(new QComboBox, "Combo1");
    Text3 = saved(lineEdit("Text3", outputformats::defaultMp3Options(),
                           QStringLiteral("Здесь Вы можете поменять параметры Lame")));
    auto *mp3Layout = new QVBoxLayout(mp3);
    mp3Layout->addWidget(Combo1);
    mp3Layout->addWidget(Text3);
    mp3Layout->addStretch();

    auto *ogg = new QWidget;
    Text12 = saved(lineEdit("Text12", QString(), QStringLiteral("Строка параметров кодека OGG")));
    auto *oggLayout = new QVBoxLayout(ogg);
    oggLayout->addWidget(Text12);
    oggLayout->addStretch();

    auto *amr = new QWidget;
    Option5 = option("Option5", QStringLiteral("Стандартное качество (12,2 кб/с)"), true);
    Option6 = option("Option6", QStringLiteral("Максимальное сжатие (4,47 кб/с)"), false);
    Check7 = checkBox("Check7", QStringLiteral("Оставлять промежуточные MP3-файлы  (128 kbps HQ)"), false);
    auto *amrLayout = new QVBoxLayout(amr);
    for (QWidget *w :
         {static_cast<QWidget *>(Option5), static_cast<QWidget *>(Option6), static_cast<QWidget *>(Check7)})
        amrLayout->addWidget(w);
    amrLayout->addStretch();

    auto *vmo = new QWidget;
    Check8 = checkBox("Check8", QStringLiteral("Оставлять исходные WAV-файлы ( 8 кГц 16 бит моно )"), false);
    auto *vmoLayout = new QVBoxLayout(vmo);
    vmoLayout->addWidget(label("Label1", QStringLiteral("Для данного формата нет регулируемых параметров")));
    vmoLayout->addWidget(Check8);
    vmoLayout->addStretch();

    SSTab1->addTab(wav, QStringLiteral("WAV"));
    SSTab1->addTab(mp3, QStringLiteral("MP3"));
    SSTab1->addTab(ogg, QStringLiteral("OGG"));
    SSTab1->addTab(amr, QStringLiteral("AMR"));
    SSTab1->addTab(vmo, QStringLiteral("VMO"));
    SSTab1->addTab(new QWidget, QStringLiteral("WMA"));
    SSTab1->setCurrentIndex(1);
    Text11 = saved(lineEdit("Text11", QStringLiteral("1")));
    Text11->setParent(page);
    Text11->hide(); // mirrors SSTab1 for the profile; nothing to show

    auto *block = frame("Frame20", QStringLiteral("длительность блока"));
    FlatScrollBar1 = scrollBar("FlatScrollBar1", 1, 60, 10, 5);
    Label20 = tagged(new QLabel(QStringLiteral("~10мин.")), "Label20");
    Label20->setMinimumWidth(60);
    (new QHBoxLayout(block))->addLayout(row({FlatScrollBar1, Label20}));

    auto *folder = frame("Frame4", QStringLiteral("рабочий каталог"));
    folder->setToolTip(
        QStringLiteral("Папка с файлами аудиокниги будет создана в рабочем каталоге автоматически"));
    Text28 = saved(lineEdit("Text28", QString(),
                            QStringLiteral("Здесь укажите рабочий каталог (поиск - кнопка справа)")));
    Command11 = button("Command11", QStringLiteral("..."));
    (new QHBoxLayout(folder))->addLayout(row({Text28, Command11}));

    auto *silence = pauseFrame(1, QStringLiteral("дополнительные паузы (сек.)"));
    FlatScrollBar9 = scrollBar("FlatScrollBar9", 0, 30, 0, 5);
    FlatScrollBar10 = scrollBar("FlatScrollBar10", 0, 30, 0, 5);
    Text1 = saved(numberBox("Text1", QStringLiteral("0"), 0, 30));
    Text2 = saved(numberBox("Text2", QStringLiteral("0"), 0, 30));
    auto *silenceGrid = new QGridLayout(silence);
    silenceGrid->addWidget(label("Label2", QStringLiteral("в начале блока ")), 0, 0);
    silenceGrid->addWidget(FlatScrollBar9, 0, 1);
    silenceGrid->addWidget(Text1, 0, 2);
    silenceGrid->addWidget(label("Label4", QStringLiteral("в конце блока")), 1, 0);
    silenceGrid->addWidget(FlatScrollBar10, 1, 1);
    silenceGrid->addWidget(Text2, 1, 2);
    silenceGrid->setColumnStretch(1, 1);

    auto *right = new QVBoxLayout;
    right->addWidget(block);
    right->addWidget(silence);
    right->addStretch();
    auto *top = new QHBoxLayout;
    top->addWidget(Frame11, 3);
    top->addLayout(right, 2);
    auto *layout = new QVBoxLayout(page);
    layout->addLayout(top, 1);
    layout->addWidget(folder);
    return page;
}

QWidget *Setup::createOptionsPage()
{
    auto *page = new QWidget;

    auto *view = frame("Frame7", QStringLiteral("Вид текста в главном окне программы"));
    Command10 = button("Command10", QStringLiteral("Без отступа"));
    Command9 = button("Command9", QStringLiteral("Обычный отступ"));
    Command7 = button("Command7", QStringLiteral("Большой отступ"));
    Command8 = button("Command8", QStringLiteral("Цвет фона"));
    Command3 = button("Command3", QStringLiteral("Шрифт"));
    auto *viewLayout = new QVBoxLayout(view);
    for (QPushButton *b : {Command10, Command9, Command7, Command8, Command3})
        viewLayout->addWidget(b);
    viewLayout->addStretch();

    auto *extra = frame("Frame3", QStringLiteral("Дополнительные опции"));
    Check5 = checkBox("Check5", QStringLiteral("Показывать прикрепленные подсказки"), true);
    Text14 = lineEdit("Text14", QString(),
                      QStringLiteral("Этот текст будет отображаться плеером в строке  НАЗВАНИЕ ПЕСНИ ..."));
    Text10 = lineEdit("Text10", QString(),
                      QStringLiteral("Этот текст будет отображаться плеером в строке  ИСПОЛНИТЕЛЬ ..."));
    Check1 = checkBox("Check1", QStringLiteral("Предупреждения"), true);
    Check3 = checkBox("Check3", QStringLiteral("Звуковой сигнал окончания записи"), true);
    Check4 = checkBox("Check4", QStringLiteral("Сохранять текстовые кусочки в каталоге аудиокниги"), false);
    Check6 = checkBox("Check6", QStringLiteral("Добавлять название книги к номеру блока"), false);
    Check2 = checkBox("Check2", QStringLiteral("Голосовая нумерация блоков"), false);
    auto *tagGrid = new QGridLayout;
    tagGrid->addWidget(label("Label16", QStringLiteral("\"Композиция\"")), 0, 0);
    tagGrid->addWidget(Text14, 0, 1);
    tagGrid->addWidget(label("Label5", QStringLiteral("\"Исполнитель\"")), 1, 0);
    tagGrid->addWidget(Text10, 1, 1);
    auto *extraLayout = new QVBoxLayout(extra);
    extraLayout->addWidget(Check5);
    extraLayout->addLayout(tagGrid);
    for (QCheckBox *c : {Check1, Check3, Check4, Check6, Check2})
        extraLayout->addWidget(c);
    extraLayout->addStretch();

    auto *copies = frame("Frame23", QStringLiteral("Многопоточная  обработка"));
    Text21 = saved(numberBox("Text21", QStringLiteral("1"), 1, 99));
    Text24 = saved(numberBox("Text24", QStringLiteral("1"), 1, 99));
    auto *copiesGrid = new QGridLayout(copies);
    copiesGrid->addWidget(label("Label9", QStringLiteral("Число запущенных программ Quenvale")), 0, 0);
    copiesGrid->addWidget(Text21, 0, 1);
    copiesGrid->addWidget(label("Label15", QStringLiteral("Порядковый номер запущенной программы")), 1, 0);
    copiesGrid->addWidget(Text24, 1, 1);

    auto *right = new QVBoxLayout;
    right->addWidget(extra, 1);
    right->addWidget(copies);
    auto *layout = new QHBoxLayout(page);
    layout->addWidget(view, 1);
    layout->addLayout(right, 3);
    return page;
}

void Setup::createMenus()
{
    menuBar = named(new QMenuBar(this), "menuBar");
    auto page = [this](const char *name, const QString &text, int index) {
        QAction *action = menuBar->addAction(text);
        action->setObjectName(QString::fromLatin1(name));
        connect(action, &QAction::triggered, this, [this, index] { SSTab2->setCurrentIndex(index); });
    };
    page("golos", QStringLiteral("Настройки голоса"), 0);
    page("TablChange1", QStringLiteral("Настройки записи"), 1);
    page("options", QStringLiteral("Дополнительные опции"), 2);
    QAction *help = menuBar->addAction(QStringLiteral("Помощь"));
    help->setObjectName(QStringLiteral("help2"));
    connect(help, &QAction::triggered, this, [] { mainwindowport::showHelp(QStringLiteral("Help9.rtf")); });
}

void Setup::connectHandlers()
{
    // Connected to the change signals, so a value restored from a profile runs the same
    // handler as the user's change.
    connect(lstSapi5, &QListWidget::currentRowChanged, this, [this](int row) {
        // A running job keeps its voice: the choice goes back to the voice in use.
        if (row >= 0 && !busy::refuse(busy::Change::Settings)) {
            lstSapi5_Click();
            return;
        }
        // A stored empty voice clears the list's choice; keep the voice in use shown.
        if (rememberedVoice >= 0 && rememberedVoice < lstSapi5->count()) {
            const QSignalBlocker quiet(lstSapi5);
            lstSapi5->setCurrentRow(rememberedVoice);
        }
    });

    connect(FlatScrollBar3, &QScrollBar::valueChanged, this, [this](int v) { rateChanged(Text4, 5, v); });
    connect(FlatScrollBar4, &QScrollBar::valueChanged, this, [this](int v) { rateChanged(Text5, 6, v); });
    connect(FlatScrollBar5, &QScrollBar::valueChanged, this, [this](int v) { rateChanged(Text6, 7, v); });
    connect(FlatScrollBar6, &QScrollBar::valueChanged, this, [this](int v) { pitchChanged(Text7, 8, v); });
    connect(FlatScrollBar7, &QScrollBar::valueChanged, this, [this](int v) { pitchChanged(Text8, 9, v); });
    connect(FlatScrollBar8, &QScrollBar::valueChanged, this, [this](int v) { pitchChanged(Text9, 10, v); });

    connect(FlatScrollBar2, &QScrollBar::valueChanged, this, [this](int v) {
        Label14->setText(int16Text(v) + QStringLiteral("mS"));
        Tembrs();
    });
    connect(FlatScrollBar11, &QScrollBar::valueChanged, this,
            [this](int v) { Label8->setText(int16Text(v) + QStringLiteral("mS")); });
    connect(FlatScrollBar12, &QScrollBar::valueChanged, this,
            [this](int v) { Label10->setText(int16Text(v) + QStringLiteral("mS")); });
    connect(FlatScrollBar9, &QScrollBar::valueChanged, this, [this](int v) { Text1->setText(int16Text(v)); });
    connect(FlatScrollBar10, &QScrollBar::valueChanged, this,
            [this](int v) { Text2->setText(int16Text(v)); });
    connect(FlatScrollBar1, &QScrollBar::valueChanged, this, &Setup::blockLengthChanged);
    for (QRadioButton *o : {Option1, Option2, Option3})
        connect(o, &QRadioButton::toggled, this, [this](bool on) {
            // A running job keeps its dictionary: the choice goes back to the version in use.
            if (!busy::refusal(busy::Change::Dictionary))
                enginecopy::apply(*this);
            else if (on && busy::refuse(busy::Change::Dictionary))
                enginecopy::showApplied(*this);
        });
    enginecopy::apply(*this);

    pairWithBar(Text1, FlatScrollBar9);
    pairWithBar(Text2, FlatScrollBar10);
    pairWithBar(Text4, FlatScrollBar3);
    pairWithBar(Text5, FlatScrollBar4);
    pairWithBar(Text6, FlatScrollBar5);
    pairWithBar(Text7, FlatScrollBar6);
    pairWithBar(Text8, FlatScrollBar7);
    pairWithBar(Text9, FlatScrollBar8);

    connect(SSTab1, &QTabWidget::currentChanged, this, &Setup::formatPageChanged);
    connect(Combo1, &QComboBox::currentIndexChanged, this, &Setup::presetChanged);

    connect(Command22, &QPushButton::clicked, this, &Setup::Command22_Click);
    connect(Command55, &QPushButton::clicked, this, &Setup::Command55_Click);
    connectFolderAndViewButtons();

    // A running job owns the settings it reads: the user's hands stay off them until it
    // ends. The voice, prosody and pauses belong to every speaking job; how the blocks are
    // cut, framed, named and encoded, and where they go, to a recording.
    busy::guard(this,
                {FlatScrollBar3, FlatScrollBar4, FlatScrollBar5, Text4, Text5, Text6, FlatScrollBar6,
                 FlatScrollBar7, FlatScrollBar8, Text7, Text8, Text9, Slider1, Slider2, Slider3,
                 FlatScrollBar2, FlatScrollBar11, FlatScrollBar12},
                busy::Change::Settings);
    busy::guard(this, {SSTab1->tabBar(), FormatCB,        Combo1, Text3,          Text12, Option5,
                       Option6,          Check7,          Check8, FlatScrollBar1, Text28, Command11,
                       FlatScrollBar9,   FlatScrollBar10, Text1,  Text2,          Text14, Text10,
                       Check4,           Check6,          Check2, Text21,         Text24},
                busy::Change::Output);
}

QList<QWidget *> Setup::controlsInDesignOrder() const
{
    return {Option3,         Option2,        Option1,  Check5,          Check1,          Check3,
            Check4,          Check6,         Check2,   Text1,           Text2,           FlatScrollBar9,
            FlatScrollBar10, Text11,         Text21,   Text24,          FlatScrollBar5,  FlatScrollBar4,
            FlatScrollBar3,  Frame6,         Slider3,  Slider2,         Slider1,         FlatScrollBar8,
            FlatScrollBar7,  FlatScrollBar6, lstSapi5, FlatScrollBar1,  Label20,         Frame11,
            SSTab1,          Check8,         Check7,   Text12,          Combo1,          Text3,
            Option5,         Option6,        FormatCB, FlatScrollBar12, FlatScrollBar11, FlatScrollBar2,
            Label14,         Label8,         Label10,  Text28};
}

void Setup::formLoad()
{
    WinDrive = QStringLiteral("/");
    Voice = services::voices().create();
    const QList<speech::VoiceToken> voices = Voice ? Voice->GetVoices() : QList<speech::VoiceToken>();
    for (const speech::VoiceToken &token : voices)
        lstSapi5->addItem(token.description);
    if (voices.isEmpty()) {
        // Said once; the window stays usable and the speaking commands stay silent.
        Voice.reset();
        services::prompter().critical(kCheckEngine);
    } else {
        // Wide enough to read every description.
        lstSapi5->setMinimumWidth(lstSapi5->sizeHintForColumn(0) + 2 * lstSapi5->frameWidth() + 4);
        lstSapi5->setCurrentRow(0);
    }

    AddItemToFmtCB();
    FormatCB->setCurrentIndex(FormatCB->findText(outputformats::defaultWaveFormat()));
    for (const outputformats::Mp3Preset &preset : outputformats::mp3Presets())
        Combo1->addItem(preset.caption);
    Combo1->setCurrentIndex(0);
    Text3->setText(outputformats::defaultMp3Options());

    LoadProfil();

    if (rememberedVoice >= 0 && rememberedVoice < lstSapi5->count())
        lstSapi5->setCurrentRow(rememberedVoice);
    selectListedVoice();
    Tembrs();
}

bool Setup::selectListedVoice()
{
    if (!Voice)
        return false;
    const int row = lstSapi5->currentRow();
    const QList<speech::VoiceToken> tokens = Voice->GetVoices();
    if (row < 0 || row >= tokens.size())
        return false;
    return Voice->SelectVoice(tokens[row].id);
}

void Setup::lstSapi5_Click()
{
    if (!selectListedVoice()) {
        services::prompter().critical(kCheckEngine);
        return;
    }
    rememberedVoice = static_cast<std::int16_t>(lstSapi5->currentRow());
    statusPanel(4, lstSapi5->currentItem()->text());
    Tembrs();
}

void Setup::Tembrs()
{
    // A voice another window chose on the shared object gives way to the list's choice.
    selectListedVoice();
    const tembrs::Tags tags =
        tembrs::build({Slider1->value(), FlatScrollBar3->value(), FlatScrollBar6->value()},
                      {Slider2->value(), FlatScrollBar4->value(), FlatScrollBar7->value()},
                      {Slider3->value(), FlatScrollBar5->value(), FlatScrollBar8->value()});
    TembrStart = tags.start;
    TembrNarration = tags.narration;
    TembrDialog = tags.dialog;
    TembrComment = tags.comment;
    TembrDialog2 = tags.dialog2;
}

void Setup::AddItemToFmtCB()
{
    for (const outputformats::WaveFormat &format : outputformats::waveFormats())
        AddFmts(format.name, format.type);
}

void Setup::AddFmts(const QString &name, int value)
{
    FormatCB->addItem(name, value);
}

void Setup::Command22_Click()
{
    if (busy::refuse(busy::Change::Speech))
        return;
    Tembrs();
    if (!Voice)
        return;
    Voice->Speak(tembrs::testPhrase({TembrStart, TembrNarration, TembrDialog, TembrComment, TembrDialog2}),
                 SpeakFlags);
}

void Setup::Command55_Click()
{
    if (busy::refuse(busy::Change::StopSpeech))
        return;
    if (Voice)
        Voice->Speak(QString(), speech::PurgeBeforeSpeak);
}

void Setup::rateChanged(QLineEdit *text, int panel, int value)
{
    text->setText(int16Text(value));
    Tembrs();
    statusPanel(panel, int16Text(value));
    durationEstimate();
}

void Setup::pitchChanged(QLineEdit *text, int panel, int value)
{
    text->setText(int16Text(value));
    Tembrs();
    statusPanel(panel, int16Text(value));
}

void Setup::blockLengthChanged(int value)
{
    Label20->setText(QStringLiteral("~") + int16Text(value) + QStringLiteral("мин."));
    if (value == FlatScrollBar1->maximum())
        Label20->setText(QStringLiteral("Max"));
    statusPanel(12, int16Text(value));
}

void Setup::formatPageChanged(int page)
{
    Text11->setText(int16Text(page));
    const auto shown = toInt16(Text11->text());
    if (const auto name = outputformats::tabName(shown ? *shown : -1))
        statusPanel(11, *name);
}

void Setup::presetChanged(int index)
{
    const QList<outputformats::Mp3Preset> &presets = outputformats::mp3Presets();
    if (index >= 0 && index < presets.size())
        Text3->setText(presets[index].options);
}

Setup &setup()
{
    // Set before loading: the load sequence itself reads the profile name.
    static QPointer<Setup> instance;
    return appwindows::instance(instance, &Setup::formLoad);
}
