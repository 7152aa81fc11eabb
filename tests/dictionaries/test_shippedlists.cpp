// The word lists the program ships for the new-word finder and the homograph tools.
#include "dictionaries/finder.h"
#include "dictionaries/homographs.h"
#include "platform/text/textfile.h"

#include <QHash>
#include <QSet>

#include <algorithm>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

QStringList shippedHomographs()
{
    return homographs::rows(
        textfile::readText(QStringLiteral(QUENVALE_DATA_DIR "/DIC/homograph.txt")).value_or(QString()));
}

} // namespace

TEST(ShippedLists, AreLowerCaseWordsThatLeaveNamesToTheUser)
{
    const QString dic = QStringLiteral(QUENVALE_DATA_DIR) + u"/DIC/"_s;
    const QStringList known = textfile::readLines(dic + u"70000.txt"_s).value_or(QStringList{});
    const QStringList homographs = shippedHomographs();
    EXPECT_EQ(known.size(), 70000);
    EXPECT_GE(homographs.size(), 250);
    // Lower case, and each known word once, "ё" and "е" being one letter to the finder.
    for (const QString &w : known + homographs)
        EXPECT_TRUE(!w.isEmpty() && w == w.toLower()) << w.toStdString();
    QSet<QString> folded;
    for (const QString &w : known)
        folded.insert(QString(w).replace(u'ё', u'е'));
    EXPECT_EQ(folded.size(), known.size());
    // Today's everyday words are known in the cases a text uses, not only those the old prose
    // met; a few of the sample stay out (банкомат is not in the spelling dictionary at all).
    const QStringList sample =
        textfile::readLines(QStringLiteral(QUENVALE_TEST_DATA_DIR "/modern_words.list"))
            .value_or(QStringList{});
    EXPECT_EQ(sample.size(), 200);
    QStringList unknown;
    for (const QString &w : sample)
        if (!folded.contains(QString(w).replace(u'ё', u'е')))
            unknown.append(w);
    EXPECT_LE(unknown.size(), 12) << unknown.join(u' ').toStdString();
    // Names are still left to the user, modern ones too.
    for (const QString &w : {u"марина"_s, u"сергей"_s, u"наташа"_s, u"андрей"_s, u"ольга"_s, u"москва"_s,
                             u"москве"_s, u"петербург"_s, u"иванов"_s})
        EXPECT_FALSE(folded.contains(w)) << w.toStdString();
    // Common forms read two ways are listed; forms read one way whatever they mean, or
    // nearly always one way (моя), are not: a mark the reader learns to ignore hides the others.
    for (const QString &w : {u"замок"_s, u"мою"_s, u"броня"_s, u"ношу"_s, u"потом"_s, u"верхом"_s,
                             u"ворота"_s, u"берегу"_s, u"пора"_s, u"замер"_s, u"паром"_s, u"козлы"_s,
                             u"лука"_s, u"корма"_s, u"высыпать"_s, u"выкупать"_s, u"выходить"_s,
                             // other cases of the forms above, genitive plurals among them
                             u"атласа"_s, u"атласом"_s, u"органа"_s, u"органов"_s, u"органом"_s, u"замке"_s,
                             u"замком"_s, u"муке"_s, u"белок"_s, u"стрелок"_s, u"дорог"_s})
        EXPECT_TRUE(homographs.contains(w)) << w.toStdString();
    for (const QString &w : {u"свежи"_s, u"правы"_s, u"речи"_s, u"пою"_s, u"косой"_s, u"моя"_s})
        EXPECT_FALSE(homographs.contains(w)) << w.toStdString();

    // The finder with the shipped lists offers a book's names and passes over common words,
    // however "ё" is written.
    const auto lists = [&](finder::Pass p) {
        return p == finder::Pass::Known        ? std::optional(known)
               : p == finder::Pass::Homographs ? std::optional(homographs)
                                               : std::nullopt;
    };
    QString book;
    for (const char *name : {"/kapitanskaya_dochka.txt", "/hameleon.txt"})
        book += textfile::readText(QStringLiteral(QUENVALE_TEST_DATA_DIR) + QLatin1String(name))
                    .value_or(QString());
    const QString modern =
        u"Лёша ещё спит, а Пётр берёт кошелёк и ведёт сестру. Ты живёшь, а мёртвый лист всё "
        u"падает. 'замок', {замок}, [ замок ], -Замок. за\u00ADмок за́мок ‹замок> <p>Замок <‹замок>> "
        u"Куку\u00ADев, д'Артаньян, тёмно-зелёный и темно-зеленый."_s;
    const QStringList found = *finder::newWords(book + modern, 1, lists);
    // The old prose still leads the ranking, so the classics keep most of their words.
    EXPECT_LE(found.size(), 2200);
    for (const QString &w : {u"Гринев"_s, u"Швабрин"_s, u"Пугачев"_s, u"Савельич"_s, u"Зурин"_s, u"Лёша"_s,
                             u"Петр"_s, u"Кукуев"_s, u"д'Артаньян"_s, u"тёмно-зелёный"_s})
        EXPECT_TRUE(found.contains(w)) << w.toStdString();
    // One row for a word spelled with "ё" and with "е", as the text first spells it.
    for (const QString &w : {u"Пётр"_s, u"темно-зеленый"_s})
        EXPECT_FALSE(found.contains(w)) << w.toStdString();
    for (const QString &w :
         {u"ещё"_s, u"берёт"_s, u"кошелёк"_s, u"ведёт"_s, u"живёшь"_s, u"мёртвый"_s, u"всё"_s, u"сказал"_s})
        EXPECT_FALSE(found.contains(w)) << w.toStdString();
    // A page of everyday modern prose leaves few words to check, its heroine among them.
    const QString page =
        textfile::readText(QStringLiteral(QUENVALE_TEST_DATA_DIR "/everyday_prose.txt")).value_or(QString());
    const QStringList everyday = *finder::newWords(page, 1, lists);
    EXPECT_LE(everyday.size(), 26) << everyday.join(u' ').toStdString();
    EXPECT_TRUE(everyday.contains(u"Марина"_s));
    // Hyphenated words are known too, though the spelling dictionary checks them part by part.
    for (const QString &w : {u"из-за"_s, u"из-под"_s, u"кое-как"_s, u"ей-богу"_s, u"давным-давно"_s,
                             u"по-видимому"_s, u"что-то"_s, u"кто-то"_s})
        EXPECT_FALSE(found.contains(w, Qt::CaseInsensitive)) << w.toStdString();
    // Words are cut as the homograph marking cuts them: no row holds a quote or a bracket,
    // and the homograph is left out wherever it stands.
    for (const QString &w : found) {
        EXPECT_TRUE(std::all_of(w.cbegin(), w.cend(), [](QChar c) {
            return c.isLetterOrNumber() || c == u'-' || c == u'\'';
        })) << w.toStdString();
        QString letters = w;
        letters.removeIf([](QChar c) { return !c.isLetter(); });
        EXPECT_NE(letters.toLower(), u"замок"_s) << w.toStdString();
    }
}

TEST(ShippedLists, HomographsAreTheSourceFormsWithBothReadingsTheRightWayRound)
{
    // The shipped list is made from the source, one form a line with its readings after a TAB.
    const QString source = QString::fromUtf8(
        textfile::readBytes(QStringLiteral(QUENVALE_DATA_DIR "/../tools/homographs/homograph-source.txt"))
            .value_or(QByteArray()));
    QStringList forms;
    QHash<QString, QString> readings;
    for (const QString &line : source.split(u'\n')) {
        if (line.isEmpty() || line.startsWith(u'#'))
            continue;
        const QString form = line.section(u'\t', 0, 0);
        forms.append(form);
        readings.insert(form, line.section(u'\t', 1));
    }
    EXPECT_EQ(forms, shippedHomographs()) << "homograph.txt is made again from the source";
    const std::pair<QString, QString> cases[] = {
        {u"хаос"_s, u"хАос (в мифах) / хаОс (беспорядок)"_s},
        {u"трусить"_s, u"трУсить (бежать трусцой) / трусИть (бояться)"_s},
        {u"труся"_s, u"трУся (бегая трусцой) / трусЯ (боясь)"_s},
        {u"права"_s, u"правА (мн.; кратк. правый) / прАва (род. ед.)"_s},
        {u"виски"_s, u"вИски (напиток) / вискИ (висок, мн.)"_s},
        {u"заем"_s, u"заЕм (заесть) / заём (кредит)"_s},
        {u"мою"_s, u"мОю (мыть) / моЮ (мой)"_s},
        {u"потом"_s, u"пОтом (пот, тв.) / потОм (затем)"_s},
        {u"мели"_s, u"мЕли (мель, мн.) / мелИ (мести, прош.; на мели; молоть, повел.)"_s},
        {u"весны"_s, u"вёсны (мн.) / веснЫ (род. ед.)"_s},
        {u"округа"_s, u"окрУга (окрестности) / Округа (округ, род. ед.) / округА (округ, мн.)"_s},
        {u"провода"_s, u"прОвода (род. ед.) / проводА (мн.)"_s},
        {u"зеркала"_s, u"зЕркала (род. ед.) / зеркалА (мн.)"_s},
        {u"стада"_s, u"стАда (род. ед.) / стадА (мн.)"_s},
        {u"полно"_s, u"пОлно (довольно: полно тебе) / полнО (много)"_s},
        {u"рожки"_s, u"рожкИ (рожок, мн.) / рОжки (рога)"_s},
        {u"белок"_s, u"бЕлок (белка, род. мн.) / белОк (вещество; яичный)"_s},
        {u"дорог"_s, u"дорОг (дорога, род. мн.) / дОрог (дорогой, кратк.)"_s},
    };
    for (const auto &[form, note] : cases)
        EXPECT_EQ(readings.value(form), note) << form.toStdString();
}
