#include "dictionaries/homographwindow.h"

#include "app/busy.h"
#include "app/globals.h"
#include "app/mainwindowport.h"
#include "app/windows.h"
#include "dictionaries/homographs.h"
#include "dictionaries/listening.h"
#include "platform/richtext/richtextbox.h"
#include "platform/services/filechooser.h"
#include "platform/services/prompter.h"
#include "platform/services/services.h"
#include "platform/text/textfile.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>
#include <QVBoxLayout>

#include <optional>

HomographWindow::HomographWindow(QWidget *parent) : ToolWindow(parent, Qt::Window)
{
    setObjectName(QStringLiteral("Homograph"));
    setWindowTitle(QStringLiteral("Анализ омографов"));
    resize(520, 520);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(1, 0, 1, 0);
    layout->setSpacing(0);

    Toolbar1 = new QToolBar(this);
    Toolbar1->setObjectName(QStringLiteral("Toolbar1"));
    const std::pair<QStyle::StandardPixmap, const char *> buttons[] = {
        {QStyle::SP_DialogYesButton, "Выделить все омографы"},
        {QStyle::SP_DialogNoButton, "Снять выделение"},
        {QStyle::SP_FileDialogContentsView, "Найти выделенные омографы"},
        {QStyle::SP_DialogSaveButton, "Сохранить результаты поиска"},
    };
    QList<QAction *> actions;
    for (const auto &[icon, tip] : buttons) {
        QAction *a = Toolbar1->addAction(style()->standardIcon(icon), QString());
        a->setObjectName(QStringLiteral("Toolbar1_%1").arg(actions.size() + 1));
        a->setToolTip(QString::fromUtf8(tip));
        actions.append(a);
    }
    connect(actions[0], &QAction::triggered, this, [this] { checkAll(true); });
    connect(actions[1], &QAction::triggered, this, [this] { checkAll(false); });
    connect(actions[2], &QAction::triggered, this, &HomographWindow::FindHomographs);
    connect(actions[3], &QAction::triggered, this, &HomographWindow::SaveHomographResults);
    layout->addWidget(Toolbar1);

    const QFont listFont(QStringLiteral("Times New Roman CYR"));
    ListView1 = new QListWidget(this);
    ListView1->setObjectName(QStringLiteral("ListView1"));
    ListView1->setFont(listFont);
    ListView2 = new QListWidget(this);
    ListView2->setObjectName(QStringLiteral("ListView2"));
    ListView2->setFont(listFont);
    ListView1->setAccessibleName(QStringLiteral("Омографы"));
    ListView2->setAccessibleName(QStringLiteral("Найденные омографы"));
    layout->addWidget(ListView1, 1);
    layout->addWidget(ListView2, 1);
    connect(ListView2, &QListWidget::itemClicked, this, [this] {
        ListenLoop = true;
        speakSelected();
    });
    connect(ListView2, &QListWidget::currentRowChanged, this, [this] {
        if (ListenLoop)
            speakSelected();
    });

    StatusBar2 = new QStatusBar(this);
    StatusBar2->setObjectName(QStringLiteral("StatusBar2"));
    statusPanel1 = new QLabel(StatusBar2);
    StatusBar2->addWidget(statusPanel1, 1);
    layout->addWidget(StatusBar2);
}

void HomographWindow::formLoad()
{
    ListView1->clear();
    if (const auto text = textfile::readText(homographs::listFile())) {
        for (const QString &row : homographs::rows(*text)) {
            auto *item = new QListWidgetItem(row, ListView1);
            item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
            item->setCheckState(Qt::Unchecked);
        }
    }
    statusPanel1->setText(QStringLiteral("0"));
}

void HomographWindow::checkAll(bool checked)
{
    for (int i = 0; i < ListView1->count(); ++i)
        ListView1->item(i)->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
}

void HomographWindow::FindHomographs()
{
    // The search lets events through, so the button could start a second one inside it.
    if (m_searching || busy::refuse(busy::Change::StartJob))
        return;
    m_searching = true;
    const busy::JobScope job(busy::Job::Search);
    MainWindowPort *main = mainwindowport::get();
    RichTextBox *editor = main ? main->editor() : nullptr;
    const QString text = editor ? editor->Text() : QString();
    const int rows = ListView1->count();
    std::optional<homographs::Occurrence> last;
    QElapsedTimer sinceEvents;
    sinceEvents.start();
    for (int j = 0; j < rows && j < ListView1->count(); ++j) {
        statusPanel1->setText(QStringLiteral("%1 из %2").arg(j + 1).arg(ListView1->count()));
        const QListWidgetItem *row = ListView1->item(j);
        if (row->checkState() == Qt::Checked) {
            for (const homographs::Occurrence &o : homographs::occurrences(text, row->text())) {
                ListView2->addItem(o.context);
                last = o;
            }
        }
        if (sinceEvents.elapsed() >= 50) {
            QCoreApplication::processEvents();
            sinceEvents.restart();
        }
    }
    // Only the last context stays selected, so it is the only one selected.
    if (editor && last && editor->Text() == text) {
        editor->setSelStart(last->start);
        editor->setSelLength(last->length);
    }
    statusPanel1->setText(QStringLiteral("Выполнено"));
    m_searching = false;
}

void HomographWindow::SaveHomographResults()
{
    const QString path = services::fileChooser().saveFile(
        QStringLiteral("Сохранить файл как..."), QStringLiteral("All Files (*);;Текстовые файлы (*.txt)"),
        QString(), QStringLiteral("Текстовые файлы (*.txt)"));
    if (path.isEmpty())
        return;
    QStringList rows;
    for (int i = 0; i < ListView2->count(); ++i)
        rows.append(ListView2->item(i)->text());
    QString reason;
    if (!textfile::writeLines(path, rows, &reason))
        services::prompter().critical(textfile::writeFailure(path, reason));
}

void HomographWindow::speakSelected()
{
    const int index = ListView2->currentRow();
    if (index < 0 || index == m_lastSpoken || !listening::speak(ListView2->item(index)->text()))
        return;
    m_lastSpoken = index;
}

void HomographWindow::MarkHomograph()
{
    MainWindowPort *main = mainwindowport::get();
    RichTextBox *editor = main ? main->editor() : nullptr;
    if (!editor || m_marking || busy::refuse(busy::Change::Text))
        return;
    m_marking = true;
    const busy::JobScope job(busy::Job::Search);
    const MainPanels panels = main->mainPanels();
    panels.Check4->setChecked(false);
    editor->setSelStart(0);
    panels.Label1->setText(QStringLiteral("Выделение в тексте омографов (красным)"));
    panels.ProgressBar1->setMaximum(qMax(1, ListView1->count()));
    panels.ProgressBar1->setValue(0);
    panels.Frame1->show();
    panels.Frame1->raise();
    panels.Frame1->repaint();

    const QString text = editor->Text();
    const homographs::MarkFinder finder(text);
    QList<std::pair<int, int>> ranges;
    QElapsedTimer sinceEvents;
    sinceEvents.start();
    const int rows = ListView1->count();
    for (int j = 0; j < rows && j < ListView1->count(); ++j) {
        const QString row = ListView1->item(j)->text();
        if (row.isEmpty())
            continue;
        if (panels.Check4->isChecked())
            break;
        for (const homographs::Range &r : finder.marks(row))
            ranges.append({r.start, r.length});
        // Events go through after the first row, so a stop asked at once is seen at once, and
        // then every 50 ms; the progress shows then too. Each time the editor lays out more of
        // a large book, which costs far more than a row's search.
        if (j == 0 || sinceEvents.elapsed() >= 50) {
            panels.ProgressBar1->setValue(j + 1);
            QCoreApplication::processEvents();
            sinceEvents.restart();
        }
    }
    panels.ProgressBar1->setValue(panels.ProgressBar1->maximum());
    // The text may have been edited while events went through: marks only fit the text
    // they were found in.
    if (editor->Text() == text)
        editor->setMarks(ranges, QColor(Qt::red), true);
    editor->setSelStart(0);
    panels.Frame1->hide();
    main->window().update();
    m_marking = false;
}

HomographWindow &Homograph()
{
    static QPointer<HomographWindow> instance;
    return appwindows::instance(instance, &HomographWindow::formLoad);
}
