// The bookmarks panel: lists the bookmark files that stopping a reading writes, reopens a
// book at its bookmark and deletes bookmarks.
#include "app/bookkind.h"
#include "app/booklosses.h"
#include "app/busy.h"
#include "app/globals.h"
#include "mainwindow/bookmarkfile.h"
#include "mainwindow/mainwindow.h"
#include "platform/richtext/richtextbox.h"
#include "platform/services/prompter.h"
#include "platform/services/services.h"
#include "platform/text/textfile.h"

#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace {

QPushButton *panelButton(QWidget *parent, const char *name, QStyle::StandardPixmap icon, const QString &tip)
{
    auto *b = new QPushButton(parent->style()->standardIcon(icon), QString(), parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setToolTip(tip);
    return b;
}

QString selectedName(const QListWidget &list)
{
    const QListWidgetItem *item = list.currentItem();
    return item ? item->text() : QString();
}

} // namespace

void MainWindow::createBookmarksPanel()
{
    Frame5->setTitle(QStringLiteral("Что продолжить?"));
    auto *layout = new QVBoxLayout(Frame5);
    File2->setParent(Frame5);
    File2->show();
    layout->addWidget(File2);

    auto *buttons = new QHBoxLayout;
    Command2 = panelButton(Frame5, "Command2", QStyle::SP_DialogOpenButton,
                           QStringLiteral("продолжить слушать/записывать выбранный файл"));
    Command1 = panelButton(Frame5, "Command1", QStyle::SP_TrashIcon, QStringLiteral("Удалить из списка"));
    Command10 = panelButton(Frame5, "Command10", QStyle::SP_DialogCloseButton,
                            QStringLiteral("выйти из меню выбора файла"));
    buttons->addWidget(Command2);
    buttons->addWidget(Command1);
    buttons->addStretch();
    buttons->addWidget(Command10);
    layout->addLayout(buttons);
    Frame5->resize(360, 260);
    Frame5->setAutoFillBackground(true);

    connect(Command2, &QPushButton::clicked, this, &MainWindow::Command2_Click);
    connect(Command1, &QPushButton::clicked, this, &MainWindow::Command1_Click);
    connect(Command10, &QPushButton::clicked, this, &MainWindow::Command10_Click);
    connect(File2, &QListWidget::itemDoubleClicked, this, &MainWindow::File2_DblClick);
}

namespace {

// Fills the list anew, keeping the selected name when it is still there.
bool refresh(QListWidget &list)
{
    const std::optional<QStringList> names = bookmarkfile::list();
    if (!names)
        return false;
    const QString selected = selectedName(list);
    list.clear();
    list.addItems(*names);
    const auto found = list.findItems(selected, Qt::MatchExactly);
    if (!selected.isEmpty() && !found.isEmpty())
        list.setCurrentItem(found.first());
    return true;
}

} // namespace

void MainWindow::zakladki_Click()
{
    // The shipped program folder holds an empty bookmark folder: no bookmark yet is the
    // case the message explains, whether the folder exists or not.
    if (!refresh(*File2) || File2->count() == 0) {
        services::prompter().ask(
            QStringLiteral("Закладки создаются автоматически, при нажатии на кнопку остановки чтения."),
            Prompter::Icon::None, Prompter::Buttons::Ok);
        return;
    }
    Frame5->move((width() - Frame5->width()) / 2, Frame1->y());
    Frame5->show();
    Frame5->raise();
}

void MainWindow::Command2_Click()
{
    if (busy::refuse(busy::Change::Book))
        return;
    if (selectedName(*File2).isEmpty())
        return;
    OpenZakladka();
    Frame5->hide();
}

void MainWindow::File2_DblClick()
{
    Command2_Click();
}

void MainWindow::Command1_Click()
{
    const QString name = selectedName(*File2);
    if (!name.isEmpty())
        QFile::remove(bookmarkfile::folder() + u'/' + name);
    refresh(*File2);
}

void MainWindow::Command10_Click()
{
    Frame5->hide();
}

void MainWindow::OpenZakladka()
{
    const QString moved = QStringLiteral("Этот текстовый файл был удален или перемещен!");
    const QString file = bookmarkfile::folder() + u'/' + selectedName(*File2);
    QString reason;
    const std::optional<QStringList> lines = bookmarkfile::read(file, &reason);
    if (!lines) {
        services::prompter().critical(textfile::failureMessage(moved, file, reason));
        return;
    }
    const std::optional<bookmarkfile::Bookmark> bookmark = bookmarkfile::parse(*lines);
    if (!bookmark) {
        services::prompter().critical(
            textfile::failureMessage(moved, file, QStringLiteral("в третьей строке нет позиции курсора")));
        return;
    }
    // The bookmark takes effect only once its book is loaded: a book that moved leaves the
    // current book, its title and the editor as they were. An e-book is read again.
    if (!bookkind::readAsText(bookmark->path)) {
        if (!loadEBook(bookmark->path, bookmark->title))
            return;
    } else if (!RichTextBox2->LoadFile(bookmark->path)) {
        // A book that is there but cannot be read is refused for its reason only, as Open does.
        services::prompter().critical(
            QFileInfo::exists(bookmark->path)
                ? textfile::openFailure(bookmark->path, RichTextBox2->errorString())
                : textfile::failureMessage(moved, bookmark->path, RichTextBox2->errorString()));
        return;
    } else {
        CurTextPath = bookmark->path;
        m_eBook.clear();
    }
    BookTitle = bookmark->title;
    Dlitelnost();
    // The caret counts in the text as it was when the reading stopped: the same load gives
    // the same text again.
    switch (bookmark->shown) {
    case bookmarkfile::Shown::AsFile:
        break;
    case bookmarkfile::Shown::Preformatted:
        PreFormat();
        break;
    case bookmarkfile::Shown::PreformattedEveryStep:
        preformatEditor(preformat::Mode::EveryStep);
        break;
    }
    RichTextBox2->setSelStart(std::clamp<int>(bookmark->caret, 0, int(RichTextBox2->Text().size())));
    booklosses::tellDamaged(*RichTextBox2);
}
