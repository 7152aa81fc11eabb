// The word lists the program ships for the new-word finder and the homograph tools.
#include "dictionaries/finder.h"
#include "dictionaries/homographs.h"
#include "platform/text/textfile.h"

#include <QHash>
#include <QRegularExpression>
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
    EXPECT_EQ(known.size(), 150000);
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
    // The classics' literary forms are known too, and an entry's headword comes with its forms.
    for (const QString &w : {u"эрцгерцога"_s, u"кавалергарды"_s, u"быстрою"_s, u"семейною"_s, u"пригибая"_s,
                             u"горница"_s, u"горницу"_s, u"берем"_s, u"группах"_s, u"напомни"_s})
        EXPECT_TRUE(folded.contains(w)) << w.toStdString();
    // Names are still left to the user, modern ones too.
    for (const QString &w : {u"марина"_s, u"сергей"_s, u"наташа"_s, u"андрей"_s, u"ольга"_s, u"москва"_s,
                             u"москве"_s, u"петербург"_s, u"иванов"_s})
        EXPECT_FALSE(folded.contains(w)) << w.toStdString();
    // Abbreviations are no known words, so the finder shows them: a form of two or more
    // letters has a vowel; the one-letter prepositions stay.
    for (const QString &w : known)
        EXPECT_TRUE(w.size() == 1 || w.contains(QRegularExpression(u"[аеёиоуыэюя]"_s))) << w.toStdString();
    for (const QString &w : {u"в"_s, u"с"_s, u"к"_s, u"смотри"_s})
        EXPECT_TRUE(folded.contains(w)) << w.toStdString();
    // Common forms read two ways are listed; forms read one way whatever they mean, or
    // nearly always one way (моя), are not: a mark the reader learns to ignore hides the others.
    for (const QString &w : {u"замок"_s, u"мою"_s, u"броня"_s, u"ношу"_s, u"потом"_s, u"верхом"_s,
                             u"ворота"_s, u"берегу"_s, u"пора"_s, u"замер"_s, u"паром"_s, u"козлы"_s,
                             u"лука"_s, u"корма"_s, u"высыпать"_s, u"выкупать"_s, u"выходить"_s,
                             // other cases of the forms above, genitive plurals among them
                             u"атласа"_s, u"атласом"_s, u"органа"_s, u"органов"_s, u"органом"_s, u"замке"_s,
                             u"замком"_s, u"муке"_s, u"белок"_s, u"стрелок"_s, u"дорог"_s,
                             // common forms whose two readings are both everyday words
                             u"года"_s, u"часа"_s, u"большая"_s, u"больших"_s, u"крови"_s, u"связи"_s,
                             u"духов"_s, u"трусов"_s, u"пищу"_s, u"засыпал"_s, u"отрезала"_s, u"замкам"_s,
                             u"органами"_s, u"стрелку"_s, u"белку"_s, u"кружку"_s,
                             // after два, три, четыре; the locative; plural against genitive
                             u"глаза"_s, u"шага"_s, u"ряда"_s, u"шара"_s, u"двери"_s, u"груди"_s, u"грязи"_s,
                             u"шерсти"_s, u"главы"_s, u"строки"_s, u"овцы"_s, u"трубы"_s, u"дыры"_s,
                             u"дали"_s, u"спала"_s, u"моем"_s, u"хоры"_s, u"запою"_s, u"угли"_s})
        EXPECT_TRUE(homographs.contains(w)) << w.toStdString();
    // A reading that is a name does not count: лен is лён to a reader.
    // Free variants are none either (ска́мьи and скамьи́, ме́лки and мелки́), nor is a form whose
    // plural and genitive sound alike (ладьи́).
    for (const QString &w : {u"свежи"_s, u"правы"_s, u"речи"_s, u"пою"_s, u"косой"_s, u"моя"_s, u"лен"_s,
                             u"ладьи"_s, u"скамьи"_s, u"мелки"_s})
        EXPECT_FALSE(homographs.contains(w)) << w.toStdString();

    // The finder with the shipped lists offers a book's names and passes over common words,
    // however "ё" is written.
    const auto lists = [&](finder::Pass p) {
        return p == finder::Pass::Known        ? std::optional(known)
               : p == finder::Pass::Homographs ? std::optional(homographs)
                                               : std::nullopt;
    };
    const auto read = [](const char *name) {
        return textfile::readText(QStringLiteral(QUENVALE_TEST_DATA_DIR) + QLatin1String(name))
            .value_or(QString());
    };
    // Each classic gets fewer rows to review than with the list of the old prose alone, whose
    // rows these are.
    const std::pair<const char *, qsizetype> classics[] = {
        {"/kapitanskaya_dochka.txt", 1598}, {"/pikovaya_dama.txt", 416}, {"/hameleon.txt", 61}};
    for (const auto &[name, before] : classics)
        EXPECT_LT(finder::newWords(read(name), 1, lists)->size(), before) << name;
    const QString book = read("/kapitanskaya_dochka.txt") + read("/hameleon.txt");
    const QString modern =
        u"Лёша ещё спит, а Пётр берёт кошелёк и ведёт сестру. Ты живёшь, а мёртвый лист всё "
        u"падает. 'замок', {замок}, [ замок ], -Замок. за\u00ADмок за́мок ‹замок> <p>Замок <‹замок>> "
        u"Куку\u00ADев, д'Артаньян, жёлто-зелёный и желто-зеленый. Замок-то стоит-ка, мои\u0306 "
        u"е\u0308ж еще\u0308 <p class=\"x\">д‘Артаньян</p> см. тж. и в с к Вронский-то 1-го 2000 "
        u"&laquo;Он&raquo;&nbsp;&#233;t&#233; <<дорога>> x<y, то мука; y>x"_s;
    const QStringList found = *finder::newWords(book + modern, 1, lists);
    for (const QString &w : {u"Гринев"_s, u"Швабрин"_s, u"Пугачев"_s, u"Савельич"_s, u"Зурин"_s, u"Лёша"_s,
                             u"Петр"_s, u"Кукуев"_s, u"д'Артаньян"_s, u"жёлто-зелёный"_s, u"см"_s, u"тж"_s,
                             u"Вронский"_s, u"été"_s, u"за<мок"_s})
        EXPECT_TRUE(found.contains(w)) << w.toStdString();
    // One row for a word spelled with "ё" and with "е", as the text first spells it.
    for (const QString &w : {u"Пётр"_s, u"желто-зеленый"_s})
        EXPECT_FALSE(found.contains(w)) << w.toStdString();
    for (const QString &w :
         {u"ещё"_s, u"берёт"_s, u"кошелёк"_s, u"ведёт"_s, u"живёшь"_s, u"мёртвый"_s, u"всё"_s, u"сказал"_s,
          // a particle after a known word or a homograph, letters with combining marks, tags
          u"Замок-то"_s, u"стоит-ка"_s, u"мой"_s, u"ёж"_s, u"class"_s, u"p"_s, u"x"_s, u"д‘Артаньян"_s,
          // entities, numbers, a particle, quotes written "<<", homographs beside "<" and ">"
          u"laquo"_s, u"nbsp"_s, u"233"_s, u"1-го"_s, u"2000"_s, u"Вронский-то"_s, u"дорога"_s, u"дорога>"_s,
          u"мука"_s, u"в"_s})
        EXPECT_FALSE(found.contains(w)) << w.toStdString();
    // A page of everyday modern prose leaves few words to check, at most half of the 23 the
    // list of 70,000 forms left, its heroine among them.
    const QString page =
        textfile::readText(QStringLiteral(QUENVALE_TEST_DATA_DIR "/everyday_prose.txt")).value_or(QString());
    const QStringList everyday = *finder::newWords(page, 1, lists);
    EXPECT_LE(everyday.size(), 11) << everyday.join(u' ').toStdString();
    EXPECT_TRUE(everyday.contains(u"Марина"_s));
    // Hyphenated words are known too, though the spelling dictionary checks them part by part.
    for (const QString &w : {u"из-за"_s, u"из-под"_s, u"кое-как"_s, u"ей-богу"_s, u"давным-давно"_s,
                             u"по-видимому"_s, u"что-то"_s, u"кто-то"_s})
        EXPECT_FALSE(found.contains(w, Qt::CaseInsensitive)) << w.toStdString();
    // Words are cut as the homograph marking cuts them: no row holds a quote or a bracket,
    // and the homograph is left out wherever it stands.
    for (const QString &w : found) {
        EXPECT_TRUE(std::all_of(w.cbegin(), w.cend(), [](QChar c) {
            return c.isLetterOrNumber() || c == u'-' || c == u'\'' || c == u'<';
        })) << w.toStdString();
        QString letters = w;
        letters.removeIf([](QChar c) { return !c.isLetter(); });
        // за́мок, stressed by the book, is listed as the program marks it; за<мок too
        if (letters.toLower() == u"замок"_s) {
            EXPECT_EQ(w, u"за<мок"_s);
        }
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
        {u"полно"_s, u"пОлно (много: в зале полно народу; довольно: полно тебе) / полнО (полный, кратк.)"_s},
        {u"колеса"_s, u"колесА (род. ед.) / колёса (мн.)"_s},
        {u"рожки"_s, u"рожкИ (рожок, мн.) / рОжки (рога)"_s},
        {u"белок"_s, u"бЕлок (белка, род. мн.) / белОк (вещество; яичный)"_s},
        {u"дорог"_s, u"дорОг (дорога, род. мн.) / дОрог (дорогой, кратк.)"_s},
        {u"вести"_s, u"вестИ (вести, глагол) / вЕсти (известия)"_s},
        {u"села"_s, u"сЕла (сесть) / сёла (мн.) / селА (село, род. ед.)"_s},
        {u"души"_s, u"дУши (мн.) / душИ (род. ед.; душить, повел.)"_s},
        {u"глаза"_s, u"глазА (мн.) / глАза (род. ед.; два глаза)"_s},
        {u"моем"_s, u"мОем (мыть) / моём (мой, предл.)"_s},
    };
    for (const auto &[form, note] : cases)
        EXPECT_EQ(readings.value(form), note) << form.toStdString();
}
