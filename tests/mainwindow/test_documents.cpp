#include "cp1251.h"
#include "globals.h"
#include "mainwindow.h"
#include "richtext/richtextbox.h"
#include "scripted.h"
#include "setup.h"

#include <QCheckBox>
#include <QDir>
#include <QGroupBox>
#include <QLineEdit>
#include <QProgressBar>
#include <QSettings>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

class Documents : public ::testing::Test
{
protected:
    void SetUp() override
    {
        installScriptedServices();
        QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Quenvale"), QStringLiteral("Quenvale"))
            .clear();
        w = &MP3();
        w->endProcess = [] {};
    }
    void TearDown() override { destroyWindows(); }

    QString file(const QString &name, const QByteArray &bytes)
    {
        const QString path = dir.filePath(name);
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write(bytes);
        return path;
    }
    QByteArray bytes(const QString &path) const
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }
    void confirmations(bool on) { setup().Check1->setChecked(on); }
    QStringList asked() const
    {
        QStringList texts;
        for (const auto &a : scriptedPrompter().asked)
            texts << a.text;
        return texts;
    }

    MainWindow *w = nullptr;
    QTemporaryDir dir;
};

} // namespace

TEST_F(Documents, OpenPreformatSaveGivesTheExactBytes)
{
    const QString path = file(QStringLiteral("Том.1.txt"), cp1251::encode(QStringLiteral(
                                                              "Глава 1\r\n\r\nОн сказал (тихо) — да.\r\n")));
    scriptedFileChooser().names.enqueue(path);
    w->OpenTextFile();
    EXPECT_EQ(BookTitle, "Том_1");
    EXPECT_EQ(CurTextPath, path);
    EXPECT_EQ(w->Text7->text(), path);
    EXPECT_EQ(w->Text8->text(), "Том_1");
    EXPECT_EQ(w->RichTextBox2->SelStart(), 0);
    EXPECT_FALSE(w->Frame1->isVisible());
    EXPECT_EQ(w->ProgressBar1->value(), 13);
    const auto &dialog = scriptedFileChooser().asked.at(0);
    EXPECT_EQ(dialog.title, "Открыть текстовый файл");
    EXPECT_TRUE(dialog.filter.contains("(*)")); // names without a dot show too

    confirmations(false);
    w->SaveText();
    EXPECT_EQ(bytes(path), cp1251::encode(QStringLiteral("Глава 1\r\n Он сказал ( тихо ) -  да.\r\n\r\n")));
    EXPECT_TRUE(asked().isEmpty());
}

TEST_F(Documents, FileThatCannotBeOpenedChangesNothing)
{
    const QString kept = file(QStringLiteral("kept.txt"), "abc\r\n");
    scriptedFileChooser().names.enqueue(kept);
    w->OpenTextFile();
    const QString editor = w->RichTextBox2->Text();

    const QString missing = dir.filePath(QStringLiteral("нет такого.txt"));
    scriptedFileChooser().names.enqueue(missing);
    w->OpenTextFile();
    ASSERT_EQ(asked().size(), 1);
    EXPECT_TRUE(asked()[0].contains(missing));
    EXPECT_EQ(scriptedPrompter().asked[0].icon, Prompter::Icon::Critical);
    EXPECT_EQ(w->RichTextBox2->Text(), editor);
    EXPECT_EQ(CurTextPath, kept);
    EXPECT_EQ(BookTitle, "kept");
    EXPECT_EQ(w->Text7->text(), kept);
}

TEST_F(Documents, CancelledDialogsChangeNothing)
{
    w->RichTextBox2->setText(QStringLiteral("текст"));
    CurTextPath = QStringLiteral("/a/b.txt");
    BookTitle = QStringLiteral("b");
    w->OpenTextFile();
    w->SaveTextAs();
    w->SaveRtfAs();
    EXPECT_EQ(scriptedFileChooser().asked.size(), 3);
    EXPECT_EQ(scriptedFileChooser().asked[1].title, "Сохранить файл как...");
    EXPECT_EQ(CurTextPath, "/a/b.txt");
    EXPECT_EQ(BookTitle, "b");
    EXPECT_EQ(w->RichTextBox2->Text(), "текст");
    EXPECT_TRUE(asked().isEmpty());
}

TEST_F(Documents, SaveWithoutAFileName)
{
    // The fresh-window placeholder is not a file name: nothing is written next to the program.
    CurTextPath = QStringLiteral("полный путь к файлу");
    confirmations(true);
    scriptedPrompter().answers.enqueue(Prompter::Answer::Yes);
    w->SaveText();
    EXPECT_EQ(asked(), QStringList({"Сохранить изменения?",
                                    "Не задано имя файла! Воспользуйтесь функцией СОХРАНИТЬ ТЕКСТ КАК... "}));
    EXPECT_FALSE(QFile::exists(QStringLiteral("полный путь к файлу")));

    scriptedPrompter().asked.clear();
    confirmations(false);
    CurTextPath.clear();
    w->SaveText();
    EXPECT_EQ(asked(), QStringList({"Не задано имя файла! Воспользуйтесь функцией СОХРАНИТЬ ТЕКСТ КАК... "}));

    scriptedPrompter().asked.clear();
    confirmations(true);
    scriptedPrompter().answers.enqueue(Prompter::Answer::No);
    w->SaveText();
    EXPECT_EQ(asked(), QStringList({"Сохранить изменения?"}));
}

TEST_F(Documents, FailedWritesAreReportedNamingTheFile)
{
    confirmations(false);
    w->RichTextBox2->setText(QStringLiteral("книга"));
    const QString unwritable = dir.filePath(QStringLiteral("нет/папки/книга.txt"));
    CurTextPath = unwritable;
    w->SaveText();
    scriptedFileChooser().names.enqueue(unwritable);
    const QString before = CurTextPath = dir.filePath(QStringLiteral("old.txt"));
    w->SaveTextAs();
    ASSERT_EQ(asked().size(), 2);
    for (const QString &text : asked())
        EXPECT_TRUE(text.contains(unwritable)) << text.toStdString();
    EXPECT_EQ(CurTextPath, before); // not moved to a file that was never written
}

TEST_F(Documents, SaveAsMovesTheCurrentFileButNotTheReopenedOne)
{
    const QString opened = file(QStringLiteral("a.txt"), "x\r\n");
    scriptedFileChooser().names.enqueue(opened);
    w->OpenTextFile();
    const QString other = dir.filePath(QStringLiteral("b.txt"));
    scriptedFileChooser().names.enqueue(other);
    w->SaveTextAs();
    EXPECT_EQ(CurTextPath, other);
    EXPECT_EQ(w->Text7->text(), opened);
    EXPECT_EQ(BookTitle, "a");
    confirmations(false);
    w->RichTextBox2->setText(QStringLiteral("новое"));
    w->SaveText();
    EXPECT_EQ(bytes(other), cp1251::encode(QStringLiteral("новое\r\n")));
}

TEST_F(Documents, RtfSaveAndReopenKeepCyrillicAndColours)
{
    w->RichTextBox2->setText(QStringLiteral("Красный текст"));
    w->RichTextBox2->setSelStart(0);
    w->RichTextBox2->setSelLength(7);
    w->RichTextBox2->setSelColor(Qt::red);
    const QString rtf = dir.filePath(QStringLiteral("книга.rtf"));
    scriptedFileChooser().names.enqueue(rtf);
    w->SaveRtfAs();
    EXPECT_EQ(CurTextPath, rtf);
    EXPECT_TRUE(bytes(rtf).startsWith("{\\rtf"));

    RichTextBox reopened;
    ASSERT_TRUE(reopened.LoadFile(rtf));
    EXPECT_EQ(reopened.Text(), "Красный текст");
    reopened.setSelStart(2);
    EXPECT_EQ(reopened.SelColor(), QColor(Qt::red));
    reopened.setSelStart(10);
    EXPECT_NE(reopened.SelColor(), QColor(Qt::red));
}

TEST_F(Documents, ClearAlwaysAsksAndKeepsTheTitle)
{
    confirmations(false);
    w->RichTextBox2->setText(QStringLiteral("текст"));
    CurTextPath = QStringLiteral("/x/y.txt");
    BookTitle = QStringLiteral("y");
    scriptedPrompter().answers.enqueue(Prompter::Answer::No);
    w->ClearText_Click();
    EXPECT_EQ(w->RichTextBox2->Text(), "текст");
    w->ClearText_Click();
    EXPECT_EQ(scriptedPrompter().asked.at(1).text, "Очистить текстовое окно?");
    EXPECT_EQ(scriptedPrompter().asked.at(1).icon, Prompter::Icon::Exclamation);
    EXPECT_TRUE(w->RichTextBox2->Text().isEmpty());
    EXPECT_TRUE(CurTextPath.isEmpty());
    EXPECT_TRUE(w->Text7->text().isEmpty());
    EXPECT_TRUE(w->Text8->text().isEmpty());
    EXPECT_EQ(BookTitle, "y");
}

TEST_F(Documents, AddToBatch)
{
    w->RichTextBox2->setText(QStringLiteral("Книга"));
    BookTitle = QStringLiteral("Моя книга");

    // No working folder: the settings open on the recording page, nothing is written.
    setup().Text28->clear();
    w->AddToPaket();
    EXPECT_EQ(asked(), QStringList({"НЕ УКАЗАН РАБОЧИЙ КАТАЛОГ!"}));
    EXPECT_TRUE(setup().isVisible());
    EXPECT_EQ(setup().SSTab2->currentIndex(), 1);
    setup().hide();

    // Confirmations on, answered No: nothing written.
    scriptedPrompter().asked.clear();
    setup().Text28->setText(dir.path());
    confirmations(true);
    scriptedPrompter().answers.enqueue(Prompter::Answer::No);
    w->AddToPaket();
    EXPECT_EQ(asked(), QStringList({"Добавить файл на обработку в рабочий каталог?"}));
    EXPECT_EQ(BookTitle, "Моя_книга");
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("Моя_книга.txt"))));

    // Confirmations off: written without a question.
    scriptedPrompter().asked.clear();
    confirmations(false);
    w->AddToPaket();
    EXPECT_TRUE(asked().isEmpty());
    EXPECT_EQ(bytes(dir.filePath(QStringLiteral("Моя_книга.txt"))), cp1251::encode(QStringLiteral("Книга\r\n")));

    // A blank in the folder is warned about, and the file is still written.
    const QString spaced = dir.filePath(QStringLiteral("Мои книги"));
    QDir().mkpath(spaced);
    setup().Text28->setText(spaced);
    w->AddToPaket();
    ASSERT_EQ(asked().size(), 1);
    EXPECT_TRUE(asked()[0].startsWith("Пробелы в названиии рабочего каталога"));
    EXPECT_TRUE(QFile::exists(spaced + QStringLiteral("/Моя_книга.txt")));

    // A folder that does not exist: the failure is reported, not hidden.
    scriptedPrompter().asked.clear();
    setup().Text28->setText(dir.filePath(QStringLiteral("нет")));
    w->AddToPaket();
    ASSERT_EQ(asked().size(), 1);
    EXPECT_TRUE(asked()[0].contains(QStringLiteral("Моя_книга.txt")));
}

TEST_F(Documents, DoubleClickInsertsAStressMarkWithoutDeletingText)
{
    w->RichTextBox2->setText(QStringLiteral("замок\r\nзамок"));
    w->RichTextBox2_DblClick(9); // after "за" on the second line
    EXPECT_EQ(w->RichTextBox2->Text(), "замок\r\nза>мок");
    w->RichTextBox2->setLocked(true);
    w->RichTextBox2_DblClick(1);
    EXPECT_EQ(w->RichTextBox2->Text(), "замок\r\nза>мок");
}

TEST_F(Documents, CancelEndsOnlyTheRunningPreformat)
{
    w->RichTextBox2->setText(QStringLiteral("a(b)"));
    // Pressed while the first pending events are processed: no step runs.
    QTimer::singleShot(0, w->Check4, [this] { w->Check4->setChecked(true); });
    w->PreFormat();
    EXPECT_EQ(w->RichTextBox2->Text(), "a(b)");
    EXPECT_FALSE(w->Frame1->isVisible());
    EXPECT_FALSE(w->RichTextBox2->Locked());

    // The box left pressed does not cancel the next run.
    w->PreFormat();
    EXPECT_EQ(w->RichTextBox2->Text(), "a ( b ) ");
}
