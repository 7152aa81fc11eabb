#include "recording/monitor.h"

#include "app/globals.h"
#include "app/mainwindowport.h"
#include "app/toolwindow.h"
#include "app/windows.h"
#include "platform/services/prompter.h"
#include "platform/services/services.h"
#include "platform/text/textfile.h"
#include "recording/recordingrun.h"
#include "settings/settingsstore.h"
#include "settings/setup.h"

#include <QAccessible>
#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QFileInfo>
#include <QLabel>
#include <QPointer>
#include <QProgressBar>
#include <QStatusBar>
#include <QStyle>
#include <QTime>
#include <QToolBar>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

const QString kCaption = QStringLiteral("Quenvale - Save-to-file");

QStatusBar *statusBar(QWidget *parent, const char *name)
{
    auto *bar = new QStatusBar(parent);
    bar->setObjectName(QString::fromLatin1(name));
    bar->setSizeGripEnabled(false);
    return bar;
}

QLabel *panel(QStatusBar *bar, int index, const QString &toolTip, int stretch)
{
    auto *label = new QLabel(bar);
    label->setObjectName(QStringLiteral("Panel%1").arg(index));
    label->setToolTip(toolTip);
    label->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    bar->addPermanentWidget(label, stretch);
    return label;
}

} // namespace

Monitor::Monitor(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("monitor"));
    setWindowTitle(kCaption);

    Toolbar1 = new QToolBar(this);
    Toolbar1->setObjectName(QStringLiteral("Toolbar1"));
    Toolbar1->setIconSize(QSize(24, 24));
    struct Button
    {
        const char *name;
        QStyle::StandardPixmap picture;
        const char *toolTip;
        bool twoState;
    };
    const Button design[] = {
        {"abortRecording", QStyle::SP_BrowserStop, "Прервать запись аудиокниги", false},
        {"shutdownAfterRecording", QStyle::SP_TitleBarCloseButton,
         "Выключение компьютера после окончания работы", true},
        {"showSettings", QStyle::SP_FileDialogDetailedView, "Посмотреть настройки", false},
        {"showMainWindow", QStyle::SP_DesktopIcon, "Показать основное окно программы", false},
        {"showEncoderWindow", QStyle::SP_ComputerIcon, "Показывать окно компрессии", true},
        {"minimiseMonitor", QStyle::SP_TitleBarMinButton, "Свернуть окно", false},
    };
    for (const Button &b : design) {
        QAction *action = Toolbar1->addAction(style()->standardIcon(b.picture), QString());
        action->setObjectName(QString::fromLatin1(b.name));
        action->setToolTip(QString::fromUtf8(b.toolTip));
        action->setCheckable(b.twoState);
        buttons.append(action);
    }
    connect(buttons[0], &QAction::triggered, this, &Monitor::abortClicked);
    connect(buttons[2], &QAction::triggered, this, [] { appwindows::show(setup()); });
    connect(buttons[3], &QAction::triggered, this, [] {
        if (MainWindowPort *main = mainwindowport::get()) {
            // The user may look, but not start anything that would disturb the recording.
            main->setToolbarEnabled(false);
            main->window().show();
        }
    });
    connect(buttons[5], &QAction::triggered, this, &QWidget::showMinimized);
    keyboardreach::reachToolBar(*Toolbar1);

    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setTextVisible(false);
    ProgressBar1->setValue(0);
    ProgressBar1->setAccessibleName(QStringLiteral("Ход записи"));
    // A plain text a screen reader follows: its changes are announced as name changes.
    progressLabel = new QLabel(this);
    progressLabel->setObjectName(QStringLiteral("ProgressLabel"));

    StatusBar1 = statusBar(this, "StatusBar1");
    const char *const tips[] = {"Номер записываемого блока", "Осталось времени до окончания записи",
                                "Размер текстового файла", "Примерное время звучания"};
    for (int i = 1; i <= 4; ++i)
        statusPanels.append(panel(StatusBar1, i, QString::fromUtf8(tips[i - 1]), i == 1 ? 1 : 2));
    StatusBar2 = statusBar(this, "StatusBar2");
    stagePanel = panel(StatusBar2, 1, QStringLiteral("Название файла"), 1);
    StatusBar3 = statusBar(this, "StatusBar3");
    titlePanel = panel(StatusBar3, 1, QString(), 1);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 0, 2, 0);
    layout->setSpacing(1);
    for (QWidget *w : {static_cast<QWidget *>(Toolbar1), static_cast<QWidget *>(ProgressBar1),
                       static_cast<QWidget *>(progressLabel), static_cast<QWidget *>(StatusBar1),
                       static_cast<QWidget *>(StatusBar2), static_cast<QWidget *>(StatusBar3)})
        layout->addWidget(w);
    resize(520, sizeHint().height());
}

void Monitor::setStatusPanel(int panel, const QString &text)
{
    if (panel >= 1 && panel <= statusPanels.size())
        statusPanels[panel - 1]->setText(text);
}

QString Monitor::statusPanel(int panel) const
{
    return panel >= 1 && panel <= statusPanels.size() ? statusPanels[panel - 1]->text() : QString();
}

void Monitor::showBookFigures(const estimate::Figures &figures)
{
    setStatusPanel(3, figures.size);
    if (figures.hours) {
        setStatusPanel(4, estimate::durationText(*figures.hours));
        setStatusPanel(2, estimate::durationText(*figures.hours / estimate::kRecordingSpeedup));
    }
}

void Monitor::setStage(const QString &text)
{
    stagePanel->setText(text);
}

QString Monitor::stage() const
{
    return stagePanel->text();
}

void Monitor::setBookTitle(const QString &text)
{
    titlePanel->setText(text);
}

QString Monitor::bookTitle() const
{
    return titlePanel->text();
}

void Monitor::setProgressText(const QString &text)
{
    // A repeated text would be announced again for nothing.
    if (progressLabel->text() == text)
        return;
    progressLabel->setText(text);
    // The label's text is its name: the change is what a screen reader announces.
    QAccessibleEvent changed(progressLabel, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&changed);
}

QString Monitor::progressText() const
{
    return progressLabel->text();
}

void Monitor::showEvent(QShowEvent *event)
{
    // Space or Return right away stops the recording, as a user expects of its one main command.
    Toolbar1->widgetForAction(buttons[0])->setFocus(Qt::OtherFocusReason);
    QWidget::showEvent(event);
}

QAction *Monitor::button(int index) const
{
    return index >= 1 && index <= buttons.size() ? buttons[index - 1] : nullptr;
}

bool Monitor::shutdownAfterRecording() const
{
    return buttons[1]->isChecked();
}

bool Monitor::showEncoderWindow() const
{
    return buttons[4]->isChecked();
}

void Monitor::abortClicked()
{
    if (setup().Check1->isChecked() &&
        !services::prompter().confirm(QStringLiteral("Прервать запись аудиокниги?")))
        return;
    StopRecord();
}

void Monitor::StopRecord()
{
    MainWindowPort *main = mainwindowport::get();
    if (main)
        main->setToolbarEnabled(true);
    StopFlag = true;
    // The block's encoder may take a moment to end: the user sees the stop is under way.
    setStage(QStringLiteral("Запись останавливается..."));
    recordingrun::stopRunning();
    if (main) {
        main->window().show();
        main->stopVoice();
    }
}

void Monitor::closeEvent(QCloseEvent *event)
{
    // Only the user's close asks; a close from code or the session goes ahead.
    if (!event->spontaneous()) {
        event->accept();
        return;
    }
    event->ignore();
    closeClicked();
}

void Monitor::closeClicked()
{
    if (setup().Check1->isChecked() &&
        !services::prompter().confirm(QStringLiteral("Прервать запись и выйти из программы?")))
        return;
    MainWindowPort *main = mainwindowport::get();
    if (main) {
        SaveSettings(main->window());
        main->stopVoice();
    }
    // The process ends where the recording stands: the block being spoken or encoded
    // leaves nothing that looks finished.
    StopFlag = true;
    recordingrun::abortRunning();
    if (main)
        main->endProgram();
}

Monitor &monitor()
{
    static QPointer<Monitor> instance;
    return appwindows::instance(instance);
}

namespace progress {

double elapsedSeconds(double start, double now)
{
    return now < start ? now + 86400 - start : now - start;
}

std::optional<QString> shareDone(qint64 done, qint64 total, const QLocale &locale)
{
    if (total <= 0)
        return std::nullopt;
    return locale.toString(100.0 * double(done) / double(total), 'f', 2) + QStringLiteral("% выполнено");
}

std::optional<QString> remainingTime(qint64 done, qint64 total, double elapsed)
{
    if (done <= 0 || elapsed <= 0)
        return std::nullopt;
    const double rate = double(done) / elapsed;
    const double seconds = std::max(0.0, double(total - done) / rate);
    // Whole minutes first, so 59.5 minutes read as the next hour, never as "60 мин.".
    const qint64 minutes = std::llround(seconds / 60);
    return QStringLiteral("%1 час.%2 мин.").arg(minutes / 60).arg(minutes % 60, 2, 10, QLatin1Char('0'));
}

QString blocksDone(int block, qint64 blockLimit, qint64 done, qint64 total)
{
    const qint64 shown = std::clamp<qint64>(done, 0, total);
    // A block holds more than the limit but the book's last: the book comes to no more blocks
    // than this, and never to fewer than are made.
    const qint64 blocks = std::max<qint64>(block, blockLimit > 0 ? (total + blockLimit - 1) / blockLimit : 1);
    return QStringLiteral("Блок %1 из %2, %3 %").arg(block).arg(blocks).arg(shown * 100 / total);
}

} // namespace progress

void TotalProgressBar()
{
    // Measured in the characters the recording counts, so a UTF-8 book also ends at 100 %.
    const QFileInfo book(CurTextPath);
    const qint64 total = !CurTextPath.isEmpty() && book.isFile() ? textfile::bookCharacters(CurTextPath) : 0;
    // No book, or an empty one: no range to show progress in.
    if (total <= 0)
        return;
    Monitor &m = monitor();
    m.ProgressBar1->setMaximum(int(std::min<qint64>(total, std::numeric_limits<int>::max())));
    m.ProgressBar1->setValue(int(std::clamp<qint64>(CharsDone, 0, m.ProgressBar1->maximum())));
    m.setWindowTitle(*progress::shareDone(CharsDone, total, QLocale()));
    m.setProgressText(progress::blocksDone(BlockNo, BlockLimit, CharsDone, total));
    const double now = QTime::currentTime().msecsSinceStartOfDay() / 1000.0;
    if (const auto remaining =
            progress::remainingTime(CharsDone, total, progress::elapsedSeconds(StartTime, now)))
        m.setStatusPanel(2, *remaining);
}

void CompleteProgressBar()
{
    Monitor &m = monitor();
    m.ProgressBar1->setValue(m.ProgressBar1->maximum());
    m.setWindowTitle(*progress::shareDone(1, 1, QLocale()));
    m.setProgressText(progress::blocksDone(BlockNo, BlockLimit, 1, 1));
    m.setStatusPanel(2, *progress::remainingTime(1, 1, 1));
}
