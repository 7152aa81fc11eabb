#pragma once

#include "platform/text/estimate.h"

#include <QLocale>
#include <QWidget>

#include <optional>

class QAction;
class QLabel;
class QProgressBar;
class QStatusBar;
class QToolBar;

// The recording monitor: the program's face while a book is recorded. It shows the book,
// the current stage, the block being written, the estimates, the progress and the share
// done; its toolbar aborts, asks for a shutdown at the end, shows the settings or the
// main window, shows the encoder's output and minimises.
class Monitor : public QWidget
{
    Q_OBJECT
public:
    explicit Monitor(QWidget *parent = nullptr);

    // Panels of StatusBar1, 1-based: 1 the block being written, 2 the remaining time,
    // 3 the book's size, 4 its playing time.
    void setStatusPanel(int panel, const QString &text);
    QString statusPanel(int panel) const;
    // The figures of the book being recorded: its size (panel 3), its playing time (panel 4)
    // and the time its recording takes (panel 2, until the progress tells better).
    void showBookFigures(const estimate::Figures &figures);
    // StatusBar2: the current stage ("Запись аудиофайла...").
    void setStage(const QString &text);
    QString stage() const;
    // StatusBar3: the title of the book being recorded.
    void setBookTitle(const QString &text);
    QString bookTitle() const;

    // The progress as a plain text a screen reader follows: "Блок 12 из 40, 30 %".
    void setProgressText(const QString &text);
    QString progressText() const;

    // Toolbar button 1..6.
    QAction *button(int index) const;
    // The two-state buttons: shut down after the recording; run encoders with their window.
    bool shutdownAfterRecording() const;
    bool showEncoderWindow() const;

    // Abort from the toolbar: asks first when confirmations are on.
    void abortClicked();
    // The stop request: the main window comes back, speech is silenced, the recording ends
    // at its next look at StopFlag; a running encoder gets a short grace, then is ended.
    void StopRecord();
    // The user closes the window: asks first when confirmations are on, then ends the
    // program where the recording stands, ending the block's speech or encoder and removing
    // its partial output. The window itself never closes this way.
    void closeClicked();

    QToolBar *Toolbar1 = nullptr;
    QProgressBar *ProgressBar1 = nullptr;
    QStatusBar *StatusBar1 = nullptr;
    QStatusBar *StatusBar2 = nullptr;
    QStatusBar *StatusBar3 = nullptr;

protected:
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    QLabel *progressLabel = nullptr;
    QList<QAction *> buttons;
    QList<QLabel *> statusPanels;
    QLabel *stagePanel = nullptr;
    QLabel *titlePanel = nullptr;
};

// The default instance, created hidden on first use.
Monitor &monitor();
// Brings the monitor's progress bar, caption and remaining time up to date from
// CurTextPath, CharsDone and StartTime; called after every encoded block.
void TotalProgressBar();
// The progress of a book gone through to its end: 100 %, nothing left. The characters
// counted leave out the line breaks, so the last TotalProgressBar stops short of it.
void CompleteProgressBar();

// The progress arithmetic, apart from the clock and the window.
namespace progress {

// Seconds since `start`, both in seconds since midnight; a run may pass midnight.
double elapsedSeconds(double start, double now);

// "50.00% выполнено"; nothing for an empty book.
std::optional<QString> shareDone(qint64 done, qint64 total, const QLocale &locale);

// The remaining time at the rate so far, in whole minutes: "1 час.30 мин.". Nothing
// while no character is done or no time has passed.
std::optional<QString> remainingTime(qint64 done, qint64 total, double elapsed);

// "Блок 12 из 40, 30 %": the block just made, the blocks a book of `total` characters comes
// to at `blockLimit` characters a block, and the whole percent done. `total` is above 0.
QString blocksDone(int block, qint64 blockLimit, qint64 done, qint64 total);

} // namespace progress
