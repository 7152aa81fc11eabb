// The homograph window: its list, the occurrence search, listening, saving and the marking
// of the main text, with scripted dialogs and a fake voice.
#include "app/globals.h"
#include "diceditfixture.h"
#include "dictionaries/homographwindow.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QTimer>

namespace {

class HomographTest : public DicTest
{
protected:
    void writeList(const QStringList &lines)
    {
        ASSERT_TRUE(textfile::writeLines(dic(u"homograph.txt"_s), lines));
    }

    // What the marking left at each character: 'r' red and bold, '.' black and plain,
    // '?' anything else.
    QString marksOf(RichTextBox &box)
    {
        QString out;
        for (int i = 0; i < box.Text().size(); ++i) {
            box.setSelStart(i);
            box.setSelLength(1);
            const bool red = box.SelColor() == QColor(Qt::red) && box.SelBold();
            const bool plain = box.SelColor() == QColor(Qt::black) && !box.SelBold();
            out += red ? u'r' : plain ? u'.' : u'?';
        }
        return out;
    }
};

} // namespace

TEST_F(HomographTest, ListsTheOccurrencesOfTheCheckedRows)
{
    writeList({u"замок, мука"_s, u" \"атлас, орган\""_s});
    HomographWindow &w = Homograph();
    EXPECT_EQ(listing::rows(*w.ListView1), (QStringList{u"замок"_s, u"мука"_s, u"атлас, орган"_s}));
    EXPECT_EQ(w.statusPanel1->text(), u"0"_s);

    main->textBox->setText(u"Ключ от замка; замок висел на двери сарая весь день. Мука"_s);
    triggerAction(w, u"Toolbar1_3"_s);
    EXPECT_TRUE(listing::rows(*w.ListView2).isEmpty() && w.statusPanel1->text() == u"Выполнено"_s)
        << "no row checked";

    triggerAction(w, u"Toolbar1_1"_s);
    w.ListView1->item(1)->setCheckState(Qt::Unchecked);
    triggerAction(w, u"Toolbar1_3"_s);
    triggerAction(w, u"Toolbar1_3"_s);
    const QString context = u"Ключ от замка; замок висел "_s;
    EXPECT_EQ(listing::rows(*w.ListView2), (QStringList{context, context})) << "every search appends";
    EXPECT_EQ(main->textBox->SelText(), context) << "the last context is selected";
    triggerAction(w, u"Toolbar1_2"_s);
    EXPECT_EQ(w.ListView1->item(0)->checkState(), Qt::Unchecked);

    const QString saved = home() + u"/found.txt"_s;
    scriptedFileChooser().names << saved;
    triggerAction(w, u"Toolbar1_4"_s);
    EXPECT_EQ(listing::lines(saved), (QStringList{context, context}));
    triggerAction(w, u"Toolbar1_4"_s);
    EXPECT_EQ(listing::lines(saved).size(), 2) << "a cancelled dialog writes nothing";
}

TEST_F(HomographTest, ListeningSpeaksEachNewlySelectedRow)
{
    writeList({u"замок"_s});
    HomographWindow &w = Homograph();
    w.ListView2->addItems({u"первый"_s, u"второй"_s});
    const auto click = [&w](int row) {
        w.ListView2->setCurrentRow(row);
        Q_EMIT w.ListView2->itemClicked(w.ListView2->item(row));
    };
    w.ListView2->setCurrentRow(1);
    EXPECT_TRUE(spoken().isEmpty()) << "listening is off until a click";
    click(0);
    click(0);
    w.ListView2->setCurrentRow(1);
    w.ListView2->setCurrentRow(0);
    EXPECT_EQ(fakeVoices().log.purges, 3);
    EXPECT_EQ(spoken(), (QStringList{u"первый @ru"_s, u"второй @ru"_s, u"первый @ru"_s}));
    EXPECT_TRUE(ListenLoop);
}

TEST_F(HomographTest, MarkingColoursTheWordsAndKeepsTheCharacters)
{
    writeList({u"замок"_s, u""_s, u"мука"_s});
    const QString text = u"Ну... 3.14 Замок. Там замок, и\r\nвот замок мука"_s;
    main->textBox->setText(text);
    main->textBox->setSelStart(3);
    main->textBox->setSelLength(5);
    main->textBox->setSelColor(QColor(Qt::green));
    Homograph().MarkHomograph();
    Homograph().MarkHomograph();
    EXPECT_EQ(main->textBox->Text(), text);
    EXPECT_EQ(marksOf(*main->textBox), u"...........rrrrr......rrrrr.........rrrrrrrrrr"_s);
    EXPECT_TRUE(main->mainPanels().Frame1->isHidden() && !Homograph().isVisible());

    // A stop keeps the marks made so far.
    main->textBox->setText(u"а замок и мука и"_s);
    const MainPanels panels = main->mainPanels();
    QTimer::singleShot(0, panels.Check4, [panels] { panels.Check4->setChecked(true); });
    Homograph().MarkHomograph();
    EXPECT_EQ(marksOf(*main->textBox), u"..rrrrrr........"_s);
    EXPECT_TRUE(panels.Frame1->isHidden());
}
