#include "mainwindow/mainwindow.h"

#include "app/windows.h"

#include "app/bookkind.h"
#include "app/booklosses.h"
#include "app/busy.h"
#include "app/globals.h"
#include "mainwindow/appearance.h"
#include "mainwindow/helpwindow.h"
#include "mainwindow/reader.h"
#include "platform/richtext/richtextbox.h"
#include "platform/services/prompter.h"
#include "platform/services/services.h"
#include "platform/speech/voice.h"
#include "platform/text/docnames.h"
#include "platform/text/textfile.h"
#include "platform/text/twips.h"
#include "recording/batchreport.h"
#include "recording/monitor.h"
#include "recording/recordingrun.h"
#include "settings/setup.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QFileInfo>
#include <QGroupBox>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPainter>
#include <QPointer>
#include <QProgressBar>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QValidator>
#include <QVBoxLayout>

#include <utility>

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

QString &startupBook()
{
    static QString path;
    return path;
}

} // namespace

MainWindow::MainWindow(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("MP3"));
    setWindowTitle(QStringLiteral("Quenvale "));
    setProperty("Tag", QStringLiteral("Save"));
    endProcess = [] { QCoreApplication::exit(0); };

    createToolbar(); // registers the icon resources
    // X11 drops a window icon of 256 pixels alone; the 48 pixel one always gets there.
    QIcon icon(QStringLiteral(":/icons/48/quenvale.png"));
    icon.addFile(QStringLiteral(":/icons/quenvale.png"));
    setWindowIcon(icon);
    createStatusBar();

    RichTextBox2 = new RichTextBox(this);
    RichTextBox2->setObjectName(QStringLiteral("RichTextBox2"));
    RichTextBox2->setFieldName(QStringLiteral("Текст книги"));
    RichTextBox2->setFont(QFont(QStringLiteral("Times New Roman")));
    connect(RichTextBox2, &RichTextBox::doubleClicked, this, &MainWindow::RichTextBox2_DblClick);
    createMenus();
    connect(RichTextBox2, &RichTextBox::changed, this, [this] { textChanged = true; });
    connect(RichTextBox2, &RichTextBox::fileLoaded, this, [this] { textPreformatted = false; });
    busy::holdEditor(RichTextBox2);

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
    Frame1->setAutoFillBackground(true); // a panel over the editor, painted
    Frame1->hide();

    Frame2 = new QGroupBox(this);
    Frame2->setObjectName(QStringLiteral("Frame2"));
    Frame2->hide();
    m_panels = {Frame1, Label1, ProgressBar1, Check4, Frame2};
    createFinderOptions(m_panels);
    Frame5 = new QGroupBox(this);
    Frame5->setObjectName(QStringLiteral("Frame5"));
    Frame5->hide();

    Text8 = hiddenText(this, "Text8", QStringLiteral("название произведения"));
    // Stored under "text7", as every saved profile spells it.
    Text7 = hiddenText(this, "text7", QStringLiteral("полный путь к файлу"));
    Check3 = hiddenTagged<QCheckBox>(this, "Check3");
    Check3->setText(QStringLiteral("окно компрессии"));
    Check2 = hiddenTagged<QCheckBox>(this, "Check2");
    // The bounds keep a hand-edited profile from pushing the editor off the window or
    // drawing its text in boxes: the store brings a stored number within them.
    Text4 = hiddenText(this, "Text4", QStringLiteral("15"));
    Text4->setValidator(new QIntValidator(0, 30, Text4));
    Check1 = hiddenTagged<QCheckBox>(this, "Check1");
    // A colour number out of range is no colour, not the nearest one: applyTextView skips it.
    Text3 = hiddenText(this, "Text3", QStringLiteral("16777215"));
    Text2 = hiddenText(this, "Text2", QStringLiteral("14"));
    Text2->setValidator(new QDoubleValidator(1, 400, 2, Text2));
    Text1 = hiddenText(this, "Text1", QStringLiteral("Times New Roman"));
    File2 = hiddenTagged<QListWidget>(this, "File2");
    createBookmarksPanel();

    m_reader = std::make_unique<Reader>(*this);
    connectCommands();
    // The tool bar's buttons come first in the Tab order; the window opens in the book.
    RichTextBox2->setFocus(Qt::OtherFocusReason);
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
    m_openAtStart = std::exchange(startupBook(), {});
    // The last e-book is read again as Open reads it, with its progress, once the window is up.
    if (m_openAtStart.isEmpty() && docnames::isFilePath(CurTextPath) && !bookkind::readAsText(CurTextPath))
        m_openAtStart = CurTextPath;
    if (!m_openAtStart.isEmpty()) {
        // The editor holds no book until that one opens: no save may write over the last.
        CurTextPath.clear();
        BookTitle.clear();
    }
    // The last text comes back as it was saved: no pre-formatting, and no message but how it
    // reads (damaged bytes, no encoding reads it right), told once the window is shown. A book
    // that is there but cannot be read is told of as Open does, and the editor holds no book,
    // so no save writes over it.
    else if (docnames::isFilePath(CurTextPath) && RichTextBox2->LoadFile(CurTextPath)) {
        m_tellStartDamage = RichTextBox2->damagedBytes() > 0 || !RichTextBox2->readingDoubt().isEmpty() ||
                            !RichTextBox2->joinedParts().isEmpty();
    } else if (docnames::isFilePath(CurTextPath) && QFileInfo(CurTextPath).isFile()) {
        m_startFailure = textfile::openFailure(CurTextPath, RichTextBox2->errorString());
        CurTextPath.clear();
        BookTitle.clear();
        Text7->clear();
        Text8->clear();
    }
    // A batch that powered the machine off left its report in the working folder.
    m_startReport = batchreport::takeUntold(setup().Text28->text());
    Dlitelnost();
    update();
}

void MainWindow::Form_Resize()
{
    const int margin = Text4->text().toShort();
    // The menu bar stands above the inner area, as a window's own menu does.
    const int menu = menuBar->sizeHint().height();
    menuBar->setGeometry(0, 0, width(), menu);
    const int w = twips::fromPixels(width());
    const int h = twips::fromPixels(height() - menu);
    const int t = twips::fromPixels(Toolbar1->isHidden() ? 0 : Toolbar1->sizeHint().height());
    const int s = twips::fromPixels(StatusBar1->sizeHint().height());

    Toolbar1->setGeometry(0, menu, width(), twips::toPixels(t));
    StatusBar1->setGeometry(0, height() - twips::toPixels(s), width(), twips::toPixels(s));
    // A window made very small must not give the editor a negative size.
    const int editorWidth = std::max(0, w - margin);
    const int editorHeight = std::max(0, h - t - s - 10);
    RichTextBox2->setGeometry(twips::toPixels(margin), menu + twips::toPixels(t + 5),
                              twips::toPixels(editorWidth), twips::toPixels(editorHeight));
    // The progress panel stands over the top of the editor, never over the toolbar.
    Frame1->move((width() - Frame1->width()) / 2, RichTextBox2->y() + 10);
    Frame2->move((width() - Frame2->width()) / 2, Frame2->y());
}

void MainWindow::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    Form_Resize();
}

bool MainWindow::applyTextView()
{
    const auto size = appearance::fontSizeFromText(Text2->text(), QLocale());
    if (!size)
        return false;
    QFont font(Text1->text());
    font.setPointSizeF(*size);
    RichTextBox2->setFont(font);
    const auto background = appearance::colorFromNumber(Text3->text());
    if (!background)
        return false;
    QPalette palette = RichTextBox2->palette();
    palette.setColor(QPalette::Base, *background);
    RichTextBox2->setPalette(palette);
    // Not the window's palette: the menu bar, toolbar and status bar would take it too.
    m_textBackground = *background;
    update();
    return true;
}

void MainWindow::paintEvent(QPaintEvent *event)
{
    QWidget::paintEvent(event);
    if (!m_textBackground.isValid())
        return;
    const int top = menuBar->height() + (Toolbar1->isHidden() ? 0 : Toolbar1->height());
    QPainter(this).fillRect(0, top, width(), StatusBar1->y() - top, m_textBackground);
}

void MainWindow::ExitProgramm_Click()
{
    if (setup().Check1->isChecked() && !services::prompter().confirm(QStringLiteral("Выйти из программы?")))
        return;
    SaveSettings(*this);
    // A running reading or recording must not go on after the exit, nor leave half a block.
    IsReading = 0;
    StopFlag = true;
    stopVoice();
    recordingrun::abortRunning();
    endProcess();
}

void MainWindow::setToolbarEnabled(bool enabled)
{
    Toolbar1->setEnabled(enabled);
}

void MainWindow::stopVoice()
{
    if (speech::Voice *voice = readingVoice())
        voice->Speak(QString(), speech::PurgeBeforeSpeak);
    releaseVoice();
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

void MainWindow::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    // Posted: the window is on screen before the message.
    if (std::exchange(m_tellStartDamage, false))
        QTimer::singleShot(0, this, [this] { booklosses::tellDamaged(*RichTextBox2); });
    if (const QString failure = std::exchange(m_startFailure, {}); !failure.isEmpty())
        QTimer::singleShot(0, this, [failure] { services::prompter().critical(failure); });
    if (const auto report = std::exchange(m_startReport, std::nullopt))
        QTimer::singleShot(0, this, [report] {
            services::prompter().ask(*report, Prompter::Icon::Information, Prompter::Buttons::Ok);
        });
    if (!m_openAtStart.isEmpty())
        QTimer::singleShot(0, this, [this, path = std::exchange(m_openAtStart, {})] { openBook(path); });
}

void setStartupBook(const QString &path)
{
    startupBook() = path;
}

MainWindow &MP3()
{
    static QPointer<MainWindow> instance;
    return appwindows::instance(instance, &MainWindow::form_load);
}
