// The main window's status bar: file size, playing-time estimate and the settings that
// shape a recording.
#include "mainwindow/mainwindow.h"

#include "app/globals.h"
#include "app/windows.h"
#include "platform/richtext/richtextbox.h"
#include "platform/text/estimate.h"
#include "recording/monitor.h"
#include "settings/outputformats.h"
#include "settings/setup.h"
#include "settings/textnumber.h"

#include <QEvent>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QScrollBar>
#include <QStatusBar>
#include <QTabWidget>

namespace {

constexpr int kStatusPanels = 12;

const char *const kToolTips[kStatusPanels] = {
    "размер файла",
    "время звучания",
    "рабочий каталог",
    "голос",
    "Скорость простого повествования",
    "Скорость диалогов",
    "Скорость комментариев",
    "Тембр повествования",
    "Тембр диалогов",
    "Тембр комментариев",
    "Формат записи",
    "Длительность фрагмента (мин.)",
};

// A click on any panel brings up the settings window.
class PanelClick : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::MouseButtonRelease) {
            appwindows::show(setup());
            return true;
        }
        return QObject::eventFilter(watched, event);
    }
};

} // namespace

void SetKoeff()
{
    if (const auto chars =
            estimate::charsPerMinute(static_cast<std::int16_t>(setup().FlatScrollBar3->value())))
        CharsPerMin = *chars;
}

void MainWindow::createStatusBar()
{
    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setSizeGripEnabled(false); // the window's own edges resize it
    auto *click = new PanelClick(StatusBar1);
    for (int i = 1; i <= kStatusPanels; ++i) {
        auto *panel = new QLabel(StatusBar1);
        panel->setObjectName(QStringLiteral("Panel%1").arg(i));
        panel->setToolTip(QString::fromUtf8(kToolTips[i - 1]));
        panel->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
        panel->installEventFilter(click);
        // Wide for the size, time, folder and voice; narrow for the signed rates and pitches.
        StatusBar1->addPermanentWidget(panel, i <= 4 ? 4 : (i <= 10 ? 1 : 2));
        statusPanels.append(panel);
    }
}

void MainWindow::SetStatusBar()
{
    Setup &settings = setup();
    setStatusPanel(3, settings.Text28->text());
    setStatusPanel(4,
                   settings.lstSapi5->currentItem() ? settings.lstSapi5->currentItem()->text() : QString());
    const QScrollBar *const shown[] = {settings.FlatScrollBar3, settings.FlatScrollBar4,
                                       settings.FlatScrollBar5, settings.FlatScrollBar6,
                                       settings.FlatScrollBar7, settings.FlatScrollBar8};
    for (int i = 0; i < 6; ++i)
        setStatusPanel(5 + i, int16Text(shown[i]->value()));
    if (const auto name = outputformats::tabName(settings.SSTab1->currentIndex()))
        setStatusPanel(11, *name);
    setStatusPanel(12, int16Text(settings.FlatScrollBar1->value()));
    StatusBar1->update();
}

void MainWindow::Dlitelnost()
{
    SetKoeff();
    // An e-book's text lives in the editor only: its file is measured, not read as a text.
    const estimate::Figures figures =
        holdsEBook() ? estimate::figures(QFileInfo(m_eBook).size(), RichTextBox2->Text().size(), CharsPerMin)
                     : RichTextBox::measure(CurTextPath, CharsPerMin);
    setStatusPanel(1, figures.size);
    if (figures.hours) {
        PlayHours = *figures.hours;
        setStatusPanel(2, estimate::durationText(PlayHours));
    }
    monitor().showBookFigures(figures);
    StatusBar1->update();
}

void MainWindow::setStatusPanel(int panel, const QString &text)
{
    if (panel >= 1 && panel <= statusPanels.size())
        statusPanels[panel - 1]->setText(text);
}
