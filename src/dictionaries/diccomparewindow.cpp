#include "dictionaries/diccomparewindow.h"

#include "app/busy.h"
#include "app/mainwindowport.h"
#include "app/windows.h"
#include "dictionaries/checktools.h"
#include "dictionaries/diccompare.h"
#include "platform/services/filechooser.h"
#include "platform/services/prompter.h"
#include "platform/services/services.h"
#include "platform/text/textfile.h"
#include "settings/enginecopy.h"
#include "settings/setup.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QLoggingCategory>
#include <QMenuBar>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>
#include <QVBoxLayout>

namespace {

QStringList items(const QListWidget *list)
{
    QStringList texts;
    texts.reserve(list->count());
    for (int i = 0; i < list->count(); ++i)
        texts.append(list->item(i)->text());
    return texts;
}

} // namespace

DictionaryComparer::DictionaryComparer(QWidget *parent) : ToolWindow(parent)
{
    setObjectName(QStringLiteral("DicCompare"));
    setWindowTitle(QStringLiteral("Сравнение словарей"));

    QListWidget **lists[] = {&ListView1, &ListView2, &ListView3};
    auto *body = new QHBoxLayout;
    for (int i = 0; i < 3; ++i) {
        auto *list = new QListWidget(this);
        list->setObjectName(QStringLiteral("ListView%1").arg(i + 1));
        list->setUniformItemSizes(true);
        list->setAccessibleName(QStringList{QStringLiteral("Первый словарь"),
                                            QStringLiteral("Второй словарь"),
                                            QStringLiteral("Результат сравнения")}[i]);
        body->addWidget(list, 1);
        *lists[i] = list;
    }

    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setSizeGripEnabled(false);
    const char *tips[] = {"Записей в первом словаре", "Записей во втором словаре", ""};
    for (int i = 0; i < 3; ++i) {
        panels[i] = new QLabel(StatusBar1);
        panels[i]->setObjectName(QStringLiteral("Panel%1").arg(i + 1));
        panels[i]->setToolTip(QString::fromUtf8(tips[i]));
        StatusBar1->addWidget(panels[i], 1);
    }

    // Toolbar buttons and menu items share the commands; index 3 is a separator and 9 the
    // stop toggle.
    const struct
    {
        int index;
        const char *item;
        const char *caption;
        const char *tip;
        void (DictionaryComparer::*run)();
        QStyle::StandardPixmap icon;
    } commands[] = {
        {1, "load1", "загрузить первый словарь", "Загрузить первый словарь",
         &DictionaryComparer::LoadFirstDic, QStyle::SP_DialogOpenButton},
        {2, "load2", "загрузить второй словарь", "Загрузить второй словарь",
         &DictionaryComparer::LoadSecondDic, QStyle::SP_DirOpenIcon},
        {4, "compare1", "Найти совпадающие записи", "Найти совпадающие записи",
         &DictionaryComparer::compare1_Click, QStyle::SP_DialogApplyButton},
        {5, "compare2", "Найти не совпадающие записи", "Найти не совпадающие записи",
         &DictionaryComparer::compare2_Click, QStyle::SP_DialogCancelButton},
        {6, "compare3", "Найти записи первого словаря, которых нет во втором",
         "Найти записи первого словаря, которых нет во втором", &DictionaryComparer::compare3_Click,
         QStyle::SP_ArrowLeft},
        {7, "compare4", "Найти  записи второго словаря, которых нет в первом",
         "Найти  записи второго словаря, которых нет в первом", &DictionaryComparer::compare4_Click,
         QStyle::SP_ArrowRight},
        {8, "compare5", "Получить сумму словарей", "Получить сумму словарей",
         &DictionaryComparer::compare5_Click, QStyle::SP_FileDialogListView},
        {10, "Save1", "Сохранить результаты сравнения", "Сохранить результат сравнения как...",
         &DictionaryComparer::SaveCompareResult, QStyle::SP_DialogSaveButton},
    };
    Toolbar1 = new QToolBar(this);
    Toolbar1->setObjectName(QStringLiteral("Toolbar1"));
    menuBar = new QMenuBar(this);
    menuBar->setObjectName(QStringLiteral("menuBar"));
    QMenu *files = menuBar->addMenu(QStringLiteral("Файл"));
    files->setObjectName(QStringLiteral("files"));
    QMenu *comparisons = menuBar->addMenu(QStringLiteral("Сравнение"));
    comparisons->setObjectName(QStringLiteral("compare"));
    auto button = [this](int index, const QString &tip, QStyle::StandardPixmap icon) {
        QAction *a = Toolbar1->addAction(style()->standardIcon(icon), QString());
        a->setObjectName(QStringLiteral("Toolbar1_%1").arg(index));
        a->setToolTip(tip);
        return a;
    };
    for (const auto &c : commands) {
        if (c.index == 4)
            Toolbar1->addSeparator();
        if (c.index == 10) {
            m_stop = button(9, QStringLiteral("Остановить процесс сравнения"), QStyle::SP_BrowserStop);
            m_stop->setCheckable(true);
        }
        QAction *b = button(c.index, QString::fromUtf8(c.tip), c.icon);
        QMenu *menu = QByteArray(c.item).startsWith("compare") ? comparisons : files;
        QAction *item = menu->addAction(QString::fromUtf8(c.caption));
        item->setObjectName(QString::fromLatin1(c.item));
        connect(b, &QAction::triggered, this, c.run);
        connect(item, &QAction::triggered, this, c.run);
        m_buttons.append(b);
        m_items.append(item);
    }
    QAction *help = menuBar->addAction(QStringLiteral("Помощь"));
    help->setObjectName(QStringLiteral("help2"));
    connect(help, &QAction::triggered, this, [] { mainwindowport::showHelp(QStringLiteral("Help5.rtf")); });

    auto *layout = new QVBoxLayout(this);
    layout->setMenuBar(menuBar);
    layout->addWidget(Toolbar1);
    layout->addLayout(body, 1);
    layout->addWidget(StatusBar1);
    resize(900, 520);
}

void DictionaryComparer::setRunning(bool running)
{
    // Loads, saves and further comparisons would pull the lists away from under the run.
    m_running = running;
    for (QAction *a : m_buttons + m_items)
        a->setEnabled(!running);
}

void DictionaryComparer::load(QListWidget *list, QLabel *panel)
{
    if (m_running)
        return;
    const QString title = QStringLiteral("Файл словаря ") + enginecopy::path(enginecopy::version(setup()));
    const QString path = services::fileChooser().openFile(
        title, QStringLiteral("All Files (*);;Файл словаря ударений (exc_rus.txt) (exc_rus.txt)"), QString());
    if (path.isEmpty())
        return;
    QString reason;
    const auto fields = textfile::readFields(path, &reason);
    if (!fields) {
        // The list shown stays: it is still the dictionary the count belongs to.
        services::prompter().critical(textfile::openFailure(path, reason));
        return;
    }
    list->clear();
    list->addItems(diccompare::entries(*fields));
    panel->setText(QString::number(list->count()));
}

void DictionaryComparer::LoadFirstDic()
{
    load(ListView1, panels[0]);
}

void DictionaryComparer::LoadSecondDic()
{
    load(ListView2, panels[1]);
}

void DictionaryComparer::compare(Kind kind)
{
    if (m_running || busy::refuse(busy::Change::StartJob))
        return;
    m_stop->setChecked(false);
    ListView3->clear();
    setRunning(true);
    const busy::JobScope job(busy::Job::Comparison);
    const QStringList first = items(ListView1);
    const QStringList second = items(ListView2);
    QElapsedTimer clock;
    int shown = -1;
    // Stop requests and repaints come in at the first step and then at least every 50 ms.
    const diccompare::Checkpoint checkpoint = [&](int progress) {
        shown = progress;
        if (!clock.isValid() || clock.elapsed() >= 50) {
            panels[2]->setText(QString::number(progress));
            QCoreApplication::processEvents();
            clock.restart();
        }
        return !m_stop->isChecked();
    };
    diccompare::Result result;
    switch (kind) {
    case Kind::Matching:
        result = diccompare::matching(first, second, checkpoint);
        break;
    case Kind::NonMatching:
        result = diccompare::nonMatching(first, second, checkpoint);
        break;
    case Kind::FirstOnly:
        result = diccompare::missing(first, second, checkpoint);
        break;
    case Kind::SecondOnly:
        result = diccompare::missing(second, first, checkpoint);
        break;
    case Kind::Sum:
        result = diccompare::sum(first, second, checkpoint);
        // From the first sum on every result is shown sorted.
        m_sorted = true;
        break;
    }
    if (m_sorted)
        checktools::sortRecords(result.entries);
    ListView3->addItems(result.entries);
    if (result.stopped || kind == Kind::Sum) {
        if (shown >= 0)
            panels[2]->setText(QString::number(shown));
    } else {
        panels[2]->setText(QString::number(ListView3->count()));
    }
    setRunning(false);
}

void DictionaryComparer::compare1_Click()
{
    compare(Kind::Matching);
}

void DictionaryComparer::compare2_Click()
{
    compare(Kind::NonMatching);
}

void DictionaryComparer::compare3_Click()
{
    compare(Kind::FirstOnly);
}

void DictionaryComparer::compare4_Click()
{
    compare(Kind::SecondOnly);
}

void DictionaryComparer::compare5_Click()
{
    compare(Kind::Sum);
}

void DictionaryComparer::SaveCompareResult()
{
    if (m_running)
        return;
    const QString textFiles = QStringLiteral("Текстовые файлы (*.txt) (*.txt)");
    const QString path =
        services::fileChooser().saveFile(QStringLiteral("Сохранить файл как..."),
                                         QStringLiteral("All Files (*);;") + textFiles, QString(), textFiles);
    if (path.isEmpty())
        return;
    QString reason;
    // A result that did not reach the disk must not look saved.
    if (!textfile::writeLines(path, items(ListView3), &reason))
        services::prompter().critical(textfile::writeFailure(path, reason));
}

DictionaryComparer &DicCompare()
{
    static QPointer<DictionaryComparer> instance;
    return appwindows::instance(instance);
}
