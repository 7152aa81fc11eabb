#include "mainwindowtest.h"

#include "mainwindow/helpwindow.h"
#include "platform/richtext/richtextbox.h"
#include "support/actions.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

using HelpPages = MainWindowTest;

TEST_F(HelpPages, ASecondPageReplacesTheFirstInTheSameWindow)
{
    // Two shipped pages in the test's program folder; the others are missing.
    QDir().mkpath(home() + QStringLiteral("/HELP"));
    for (const char *page : {"/HELP/Help1.rtf", "/HELP/Help4.rtf"})
        ASSERT_TRUE(QFile::copy(QStringLiteral(QUENVALE_SHIPPED_DATA) + page, home() + page));
    triggerAction(*w, QStringLiteral("menu_6_3_2"));
    HelpWindow *first = &Help1();
    EXPECT_TRUE(first->isVisible());
    EXPECT_EQ(first->windowTitle(), "Quenvale-Help");
    EXPECT_TRUE(first->RichTextBox1->Text().startsWith("Quenvale: обязательные условия"));
    triggerAction(*w, QStringLiteral("menu633"));
    EXPECT_EQ(&Help1(), first);
    EXPECT_TRUE(first->RichTextBox1->Text().startsWith("Quenvale: работа со словарем"));

    // Closed, it is gone with its page; the next help opens a fresh window.
    const QSize initial = first->size();
    first->resize(initial + QSize(50, 50));
    first->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(helpWindowExists());
    w->showHelp(QStringLiteral("Help7.rtf"));
    EXPECT_EQ(Help1().size(), initial);
    const QString notice = Help1().RichTextBox1->Text();
    EXPECT_TRUE(notice.startsWith("Страница справки не найдена.") && notice.contains("Help7.rtf"));
}

TEST(ShippedHelpPages, EachIsRussianRtf)
{
    for (int i = 1; i <= 10; ++i) {
        const QString path = QStringLiteral(QUENVALE_SHIPPED_DATA "/HELP/Help%1.rtf").arg(i);
        RichTextBox box;
        ASSERT_TRUE(box.LoadFile(path)) << path.toStdString();
        const QString text = box.Text();
        EXPECT_TRUE(text.startsWith("Quenvale: ") && text.size() > 300) << path.toStdString();
        EXPECT_FALSE(text.contains(u'\\') || text.contains(u'{')) << "RTF source showing";
    }
}
