#include "dictionaries/findercommands.h"

#include "app/busy.h"
#include "app/mainwindowport.h"
#include "app/windows.h"
#include "dictionaries/dicedit.h"
#include "dictionaries/finder.h"
#include "dictionaries/homographwindow.h"
#include "dictionaries/newwords.h"
#include "platform/richtext/richtextbox.h"
#include "platform/services/prompter.h"
#include "platform/services/services.h"
#include "platform/text/programfolder.h"
#include "platform/text/textfile.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QPointer>
#include <QProgressBar>
#include <QRadioButton>
#include <QTreeWidget>

namespace dictionaries {

namespace {

// Waits in the option panel until the user ticks "go on": the threshold, or 0 when the
// main window went meanwhile.
int askThreshold(const MainPanels &panels)
{
    panels.Check5->setChecked(false);
    panels.Frame2->show();
    panels.Frame2->raise();
    // The editor keeps Tab for itself: the panel takes the focus, so its controls are reached.
    for (QRadioButton *option : {panels.Option1, panels.Option2, panels.Option3})
        if (option->isChecked())
            option->setFocus(Qt::OtherFocusReason);
    QEventLoop wait;
    const auto go = QObject::connect(panels.Check5, &QCheckBox::toggled, &wait, [&wait](bool on) {
        if (on)
            wait.quit();
    });
    // The panel goes with the main window; the wait must not outlive it.
    const auto gone = QObject::connect(panels.Frame2, &QObject::destroyed, &wait, &QEventLoop::quit);
    const QPointer<QGroupBox> frame = panels.Frame2;
    wait.exec();
    if (!frame)
        return 0;
    QObject::disconnect(go);
    QObject::disconnect(gone);
    frame->hide();
    if (panels.Option3->isChecked())
        return 3;
    return panels.Option2->isChecked() ? 2 : 1;
}

// Reads the lists of a search; a list that cannot be read skips its pass only, and is
// named to the user when the search is over. The listened-word list is missing until the
// first word has been listened to, which is no fault.
class ListReader
{
public:
    std::optional<QStringList> operator()(finder::Pass pass)
    {
        const QString path = programfolder::file(finder::listFile(pass));
        QString reason;
        std::optional<QStringList> fields = textfile::readFields(path, &reason);
        if (!fields && !(pass == finder::Pass::Listened && !QFileInfo::exists(path)))
            m_failures.append(QDir::toNativeSeparators(path) + QStringLiteral(": ") + reason);
        return fields;
    }

    void tell() const
    {
        if (!m_failures.isEmpty())
            services::prompter().critical(
                QStringLiteral("Не удалось прочитать список слов, эти слова не исключены из поиска:\n") +
                m_failures.join(u'\n'));
    }

private:
    QStringList m_failures;
};

} // namespace

void FindNewWords_Click()
{
    static bool running = false;
    MainWindowPort *main = mainwindowport::get();
    if (running || !main || !main->editor())
        return;
    running = true;
    const MainPanels panels = main->mainPanels();
    // The search works on a copy of its own: the text as it was when the command started.
    const RichTextBox &editor = *main->editor();
    const QString text = finder::searchText(editor.Text(), editor.SelText());
    const int threshold = askThreshold(panels);
    if (threshold == 0) {
        running = false;
        return;
    }
    main->window().update();

    const busy::JobScope job(busy::Job::Search);
    panels.Check4->setChecked(false);
    panels.Label1->setText(QStringLiteral("Построение списка всех слов в тексте"));
    panels.ProgressBar1->setValue(0);
    panels.Frame1->show();
    panels.Frame1->raise();
    panels.Frame1->repaint();
    QCoreApplication::processEvents();

    ListReader lists;
    const std::optional<QStringList> words = finder::newWords(
        text, threshold, [&lists](finder::Pass pass) { return lists(pass); },
        [&panels](finder::Pass pass, int exclusions) {
            panels.ProgressBar1->setMaximum(qMax(1, exclusions));
            panels.ProgressBar1->setValue(0);
            panels.Label1->setText(finder::caption(pass));
            panels.Frame1->repaint();
            QCoreApplication::processEvents();
            return !panels.Check4->isChecked();
        },
        [&panels](finder::ListStep step) {
            panels.Label1->setText(finder::caption(step));
            panels.Frame1->repaint();
        });
    panels.Frame1->hide();
    main->window().update();
    running = false;
    if (!words)
        return;
    lists.tell();

    NewWordsWindow &review = NewNames();
    review.ListView1->setVisible(true);
    review.fill(*words);
    DicEdit().Autoload_DIC();
    appwindows::show(review);
    review.Frame1->setVisible(true);
}

void markHomographs()
{
    Homograph().MarkHomograph();
}

void showHomographs()
{
    appwindows::show(Homograph());
}

} // namespace dictionaries
