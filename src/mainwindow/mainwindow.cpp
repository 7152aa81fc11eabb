#include "mainwindow/mainwindow.h"

#include "app/windows.h"

#include "app/globals.h"
#include "platform/text/docnames.h"
#include "platform/richtext/richtextbox.h"
#include "platform/services/prompter.h"
#include "platform/services/services.h"
#include "platform/speech/voice.h"
#include "platform/text/logging.h"
#include "platform/text/twips.h"
#include "recording/monitor.h"
#include "settings/setup.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QProgressBar>
#include <QStatusBar>
#include <QToolBar>
#include <QVBoxLayout>

namespace {

// The client area of a window that has nothing stored, in twips.
constexpr int kDefaultWidth = 11385;
constexpr int kDefaultHeight = 7875;

template <typename T> T *hiddenTagged(QWidget *parent, const char *name)
{
    auto *w = new T(parent);
    w->setObjectName(QString::fromLatin1(name));
    w->setProperty("Tag", QStringLiteral("Save"));
    w->hide();
    return w;
}

QLineEdit *hiddenText(QWidget *parent, const char *name, const QString &text)
{
    auto *w = hiddenTagged<QLineEdit>(parent, name);
    w->setText(text);
    return w;
}

} // namespace

MainWindow::MainWindow(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("MP3"));
    setWindowTitle(QStringLiteral("Quenvale "));
    setProperty("Tag", QStringLiteral("Save"));
    endProcess = [] { QCoreApplication::exit(0); };

    Toolbar1 = new QToolBar(this);
    Toolbar1->setObjectName(QStringLiteral("Toolbar1"));
    Toolbar1->setMovable(false);

    createStatusBar();

    RichTextBox2 = new RichTextBox(this);
    RichTextBox2->setObjectName(QStringLiteral("RichTextBox2"));
    RichTextBox2->setFont(QFont(QStringLiteral("Times New Roman")));
    connect(RichTextBox2, &RichTextBox::doubleClicked, this, &MainWindow::RichTextBox2_DblClick);

    Frame1 = new QGroupBox(this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    auto *progress = new QVBoxLayout(Frame1);
    Label1 = new QLabel(Frame1);
    Label1->setObjectName(QStringLiteral("Label1"));
    ProgressBar1 = new QProgressBar(Frame1);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    Check4 = new QCheckBox(QStringLiteral("Прервать"), Frame1);
    Check4->setObjectName(QStringLiteral("Check4"));
    progress->addWidget(Label1);
    progress->addWidget(ProgressBar1);
    progress->addWidget(Check4);
    Frame1->resize(360, 110);
    Frame1->move(0, 60);
    Frame1->hide();

    Frame2 = new QGroupBox(this);
    Frame2->setObjectName(QStringLiteral("Frame2"));
    Frame2->hide();
    Frame5 = new QGroupBox(this);
    Frame5->setObjectName(QStringLiteral("Frame5"));
    Frame5->hide();

    Text8 = hiddenText(this, "Text8", QStringLiteral("название произведения"));
    // Stored under "text7", as every saved profile spells it.
    Text7 = hiddenText(this, "text7", QStringLiteral("полный путь к файлу"));
    Check3 = hiddenTagged<QCheckBox>(this, "Check3");
    Check3->setText(QStringLiteral("окно компрессии"));
    Check2 = hiddenTagged<QCheckBox>(this, "Check2");
    Text4 = hiddenText(this, "Text4", QStringLiteral("15"));
    Check1 = hiddenTagged<QCheckBox>(this, "Check1");
    Text3 = hiddenText(this, "Text3", QStringLiteral("16777215"));
    Text2 = hiddenText(this, "Text2", QStringLiteral("14"));
    Text1 = hiddenText(this, "Text1", QStringLiteral("Times New Roman"));
    File2 = hiddenTagged<QListWidget>(this, "File2");

    resize(twips::toPixels(kDefaultWidth), twips::toPixels(kDefaultHeight));
    mainwindowport::set(this);
}

MainWindow::~MainWindow()
{
    if (mainwindowport::get() == this)
        mainwindowport::set(nullptr);
}

QList<QWidget *> MainWindow::controlsInDesignOrder() const
{
    return {Text8, Text7, Check3, Check2, Text4, Check1, Text3, Text2, Text1, File2};
}

void MainWindow::form_load()
{
    SpeakFlags = speech::Async | speech::PurgeBeforeSpeak | speech::IsXML;
    Frame5->hide();
    Voice = services::voices().create();
    SetStatusBar(); // first touch of the settings window: it loads the profile
    LoadSettings(*this);
    if (Check1->isChecked())
        HideButtonCaptions();
    else
        ShowButtonCaptions();
    if (Check2->isChecked())
        znachki1_Click();
    else
        znachki2_Click();
    CurTextPath = Text7->text();
    BookTitle = Text8->text();
    // The last text comes back as it was saved: no pre-formatting, no message.
    if (docnames::isFilePath(CurTextPath))
        RichTextBox2->LoadFile(CurTextPath);
    Dlitelnost();
    update();
}

void MainWindow::Form_Resize()
{
    const int margin = Text4->text().toShort();
    const int w = twips::fromPixels(width());
    const int h = twips::fromPixels(height());
    const int t = twips::fromPixels(Toolbar1->isVisible() ? Toolbar1->sizeHint().height() : 0);
    const int s = twips::fromPixels(StatusBar1->sizeHint().height());

    Toolbar1->setGeometry(0, 0, width(), twips::toPixels(t));
    StatusBar1->setGeometry(0, height() - twips::toPixels(s), width(), twips::toPixels(s));
    // A window made very small must not give the editor a negative size.
    const int editorWidth = std::max(0, w - margin);
    const int editorHeight = std::max(0, h - t - s - 10);
    RichTextBox2->setGeometry(twips::toPixels(margin), twips::toPixels(t + 5), twips::toPixels(editorWidth),
                              twips::toPixels(editorHeight));
    Frame1->move((width() - Frame1->width()) / 2, Frame1->y());
    Frame2->move((width() - Frame2->width()) / 2, Frame2->y());
}

void MainWindow::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    Form_Resize();
}

void MainWindow::ShowButtonCaptions()
{
    Check1->setChecked(false);
    Toolbar1->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    Form_Resize();
}

void MainWindow::HideButtonCaptions()
{
    Check1->setChecked(true);
    Toolbar1->setToolButtonStyle(Qt::ToolButtonIconOnly);
    Form_Resize();
}

void MainWindow::znachki1_Click()
{
    Check2->setChecked(true);
    Toolbar1->setIconSize(QSize(16, 16));
}

void MainWindow::znachki2_Click()
{
    Check2->setChecked(false);
    Toolbar1->setIconSize(QSize(32, 32));
}

bool MainWindow::applyTextView()
{
    bool sizeOk = false;
    bool colourOk = false;
    const double size = Text2->text().toDouble(&sizeOk);
    const qint64 colour = Text3->text().toLongLong(&colourOk);
    if (!sizeOk || size <= 0)
        return false;
    QFont font(Text1->text());
    font.setPointSizeF(size);
    RichTextBox2->setFont(font);
    if (!colourOk || colour < 0 || colour > 0xFFFFFF)
        return false;
    // Stored as red + 256 * green + 65536 * blue.
    const QColor background(int(colour & 0xFF), int((colour >> 8) & 0xFF), int((colour >> 16) & 0xFF));
    QPalette palette = RichTextBox2->palette();
    palette.setColor(QPalette::Base, background);
    RichTextBox2->setPalette(palette);
    QPalette own = this->palette();
    own.setColor(QPalette::Window, background);
    setPalette(own);
    return true;
}

void MainWindow::ExitProgramm_Click()
{
    if (setup().Check1->isChecked() && !services::prompter().confirm(QStringLiteral("Выйти из программы?")))
        return;
    SaveSettings(*this);
    if (Voice) {
        Voice->Speak(QString(), speech::PurgeBeforeSpeak);
        Voice.reset();
    }
    endProcess();
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    // A user's close goes through the exit command; the window never closes by itself.
    // A close from the session manager or from code goes ahead without asking or saving.
    if (event->spontaneous()) {
        event->ignore();
        ExitProgramm_Click();
        return;
    }
    event->accept();
}

void MainWindow::showHelp(const QString &page)
{
    // The help window comes with the menus; until then a request is only noted.
    qCInfo(lcFiles).noquote() << "help page" << page << "asked for; no help window yet";
}

MainWindow &MP3()
{
    static QPointer<MainWindow> instance;
    return appwindows::instance(instance, &MainWindow::form_load);
}
