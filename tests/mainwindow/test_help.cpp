#include "mainwindowtest.h"

#include "mainwindow/helpwindow.h"
#include "platform/richtext/richtextbox.h"
#include "platform/text/programfolder.h"
#include "support/actions.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

namespace {

using HelpPages = MainWindowTest;

void writePage(const QString &name, const QByteArray &rtf)
{
    QDir().mkpath(programfolder::path() + QStringLiteral("/HELP"));
    QFile f(programfolder::path() + QStringLiteral("/HELP/") + name);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(rtf);
}

} // namespace

TEST_F(HelpPages, ASecondPageReplacesTheFirstInTheSameWindow)
{
    writePage(QStringLiteral("Help1.rtf"),
              "{\\rtf1\\ansi\\ansicpg1251 \\'d3\\'f1\\'eb\\'ee\\'e2\\'e8\\'ff\\par}");
    writePage(QStringLiteral("Help4.rtf"),
              "{\\rtf1\\ansi\\ansicpg1251 \\'d1\\'eb\\'ee\\'e2\\'e0\\'f0\\'fc\\par}");
    triggerAction(*w, QStringLiteral("menu_6_3_2"));
    HelpWindow *first = &Help1();
    EXPECT_TRUE(first->isVisible());
    EXPECT_EQ(first->windowTitle(), "Quenvale-Help");
    EXPECT_TRUE(first->RichTextBox1->Text().startsWith("Условия"));

    triggerAction(*w, QStringLiteral("menu633"));
    EXPECT_EQ(&Help1(), first);
    EXPECT_TRUE(first->RichTextBox1->Text().startsWith("Словарь"));

    // Closed, it is gone with its page; the next help opens a fresh window.
    const QSize initial = first->size();
    first->resize(initial + QSize(50, 50));
    first->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(helpWindowExists());
    triggerAction(*w, QStringLiteral("menu633"));
    EXPECT_EQ(Help1().size(), initial);
}

TEST_F(HelpPages, AMissingPageShowsANotice)
{
    w->showHelp(QStringLiteral("Help7.rtf"));
    const QString text = Help1().RichTextBox1->Text();
    EXPECT_TRUE(text.startsWith("Страница справки не найдена")) << text.toStdString();
    EXPECT_TRUE(text.contains("Help7.rtf"));
    EXPECT_TRUE(Help1().isVisible());
}

TEST(ShippedHelpPages, EachIsRussianRtf)
{
    for (int i = 1; i <= 10; ++i) {
        const QString path = QStringLiteral(QUENVALE_SHIPPED_DATA "/HELP/Help%1.rtf").arg(i);
        SCOPED_TRACE(path.toStdString());
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        EXPECT_TRUE(f.readAll().startsWith("{\\rtf1"));
        RichTextBox box;
        ASSERT_TRUE(box.LoadFile(path));
        const QString text = box.Text();
        EXPECT_GT(text.size(), 200);
        EXPECT_TRUE(text.contains(QStringLiteral("Quenvale")));
        EXPECT_FALSE(text.contains(u'\\') || text.contains(u'{')) << "RTF source showing";
    }
}
