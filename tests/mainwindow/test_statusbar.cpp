#include "mainwindowtest.h"

#include "app/globals.h"
#include "platform/text/estimate.h"
#include "platform/text/textfile.h"
#include "recording/monitor.h"
#include "settings/setup.h"
#include "texttools/chapters.h"

#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QScrollBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

#include <tuple>

namespace {

QStringList panels()
{
    QStringList texts;
    for (const QLabel *p : MP3().statusPanels)
        texts << p->text();
    return texts;
}

// Size and playing time in the main window, then size, playing and recording time in the monitor.
QStringList figures()
{
    return {panel(1), panel(2), monitor().statusPanel(3), monitor().statusPanel(4), monitor().statusPanel(2)};
}

class StatusBar : public QuenvaleTest
{
protected:
    void SetUp() override
    {
        QuenvaleTest::SetUp();
        QLocale::setDefault(QLocale::c());
    }
    void TearDown() override
    {
        QuenvaleTest::TearDown();
        QLocale::setDefault(QLocale::system());
    }

    // A book file of `bytes` bytes made the current text.
    void book(qint64 bytes)
    {
        CurTextPath = dir.filePath(QStringLiteral("книга.txt"));
        QFile f(CurTextPath);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        ASSERT_TRUE(f.resize(bytes));
    }

    QTemporaryDir dir;
};

} // namespace

TEST_F(StatusBar, PanelsFollowTheStoredProfileAndLaterSettings)
{
    QSettings st = store();
    st.setValue("setupUser1/FlatScrollBar7", "-2");
    st.setValue("setupUser1/FlatScrollBar1", "25");
    st.setValue("setupUser1/Text28", "/srv/аудио");
    st.setValue("setupUser1/Text11", "0");
    st.sync();
    MainWindow &w = MP3();
    EXPECT_EQ(panels(),
              QStringList({"0.0 kb", "00 мин.", "/srv/аудио", "Nicolai (eSpeak NG, русский, мужской)", "2",
                           "3", "1", "0", "-2", "-5", "WAV", "25"}));

    ::Setup &s = setup();
    s.Text28->setText(QStringLiteral("/home/книги"));
    s.lstSapi5->setCurrentRow(1);
    s.SSTab1->setCurrentIndex(3);
    s.SSTab1->setCurrentIndex(5);
    w.SetStatusBar();
    EXPECT_EQ(panel(3), "/home/книги");
    EXPECT_EQ(panel(4), "Katerina (eSpeak NG, русский, женский)");
    EXPECT_EQ(panel(11), "WMA");

    w.show(); // the panels of the settings open their window
    for (int i : {6, 0}) {
        setup().close();
        QTest::mouseClick(w.statusPanels[i], Qt::LeftButton);
        EXPECT_TRUE(setup().isVisible()) << i + 1;
    }
}

TEST_F(StatusBar, EstimateFollowsTheBookAndTheRate)
{
    MainWindow &w = MP3();
    // Rate, bytes (-1: no such file), size, playing time, recording time.
    for (const auto &[rate, bytes, size, play, record] :
         {std::tuple{0, 1000000, "976.6 kb", "21 час.2 мин.", "6 час.34 мин."},
          {-10, 11880, "11.6 kb", "1 час.0 мин.", "19 мин."},
          {-10, 11879, "11.6 kb", "60 мин.", "19 мин."},
          {-10, -1, "0.0 kb", "00 мин.", "00 мин."}}) {
        if (bytes < 0)
            CurTextPath = dir.filePath(QStringLiteral("нет.txt"));
        else
            book(bytes);
        if (setup().FlatScrollBar3->value() == rate)
            w.Dlitelnost();
        else
            setup().FlatScrollBar3->setValue(rate); // the rate handler recomputes the estimate
        EXPECT_EQ(figures(), QStringList({size, play, size, play, record})) << bytes;
    }
    // A UTF-8 book is timed by its characters, not its bytes.
    ASSERT_TRUE(textfile::writeBytes(CurTextPath, QString(11880, u'ж').toUtf8()));
    w.Dlitelnost();
    EXPECT_EQ(figures(), QStringList({"23.2 kb", "1 час.0 мин.", "23.2 kb", "1 час.0 мин.", "19 мин."}));
    // An RTF book by the characters of its text, as the editor and the chapter window count
    // them, not by its markup; the size stays the file's.
    RichTextBox rtf;
    rtf.setText(testdata::text(QStringLiteral("pikovaya_dama.txt")));
    CurTextPath = dir.filePath(QStringLiteral("Пиковая дама.rtf"));
    ASSERT_TRUE(rtf.SaveFile(CurTextPath) && rtf.LoadFile(CurTextPath));
    ASSERT_EQ(rtf.Text().size(), 47061);
    setup().FlatScrollBar3->setValue(2);
    EXPECT_EQ(
        std::pair(panel(1), panel(2)),
        std::pair(estimate::sizeText(QFileInfo(CurTextPath).size(), QLocale()), QStringLiteral("48 мин.")));
    EXPECT_EQ(RichTextBox::fileCharacters(CurTextPath), rtf.Text().size());
    EXPECT_EQ(chapters::minutes(rtf.Text().size(), 2), 48); // the whole book as one chapter
    // The dialogue rate recomputes with the narration's rate.
    book(1000000);
    setup().FlatScrollBar3->setValue(0);
    setup().FlatScrollBar4->setValue(-4);
    EXPECT_EQ(panel(2), "21 час.2 мин.");
    CurTextPath.clear();
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    w.Dlitelnost();
    EXPECT_EQ(panel(1), "0,0 kb");
}
