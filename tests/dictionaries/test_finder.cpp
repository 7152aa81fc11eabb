// The new-word finder, the homograph occurrences and the homograph marks, as pure functions.
#include "dictionaries/finder.h"
#include "dictionaries/homographs.h"

#include <QLocale>
#include <QMap>
#include <QScopeGuard>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using finder::Pass;

namespace {

using Lists = QMap<Pass, QStringList>;

QStringList newWords(const QString &text, int threshold, const Lists &lists = {})
{
    return *finder::newWords(text, threshold, [&](Pass p) -> std::optional<QStringList> {
        if (!lists.contains(p))
            return std::nullopt;
        return lists.value(p);
    });
}

} // namespace

TEST(Finder, ListsTheWordsOfTheTextByThreshold)
{
    // The order must not follow the locale: under C "ё" sorts after "я".
    QLocale::setDefault(QLocale::c());
    const auto restore = qScopeGuard([] { QLocale::setDefault(QLocale::system()); });
    // The first spelling in the text stands for the others.
    const std::tuple<QString, int, QStringList> cases[] = {
        {u" Он сказал: «Дом-музей» (1999) — да... А - Б - - В "_s,
         1,
         {u"А"_s, u"Б"_s, u"В"_s, u"да"_s, u"Дом-музей"_s, u"Он"_s, u"сказал"_s}},
        {u"кот Кот КОТ пёс пёс"_s, 3, {u"кот"_s}},
        {u"кот Кот КОТ пёс пёс"_s, 2, {u"кот"_s, u"пёс"_s}},
        {u"Кот кот"_s, 1, {u"Кот"_s}},
        {u"\tОн\r\nсказал,слово\"так\""_s, 1, {u"Он"_s, u"сказал"_s, u"слово"_s, u"так"_s}},
        {u"... , !? — «»"_s, 1, {}},
        // Words are cut as the homograph marking cuts them: no quote, bracket or sign sticks.
        {u"'замок', {замок}, [ замок ], -Замок %Любовь 'ОК' кто-нибудь [x]"_s,
         1,
         {u"замок"_s, u"кто"_s, u"Любовь"_s, u"ОК"_s, u"x"_s}},
        {u"Ну-с, да-с"_s, 1, {u"да-с"_s, u"Ну-с"_s}}, // a hyphen next to the text's end
        {u"самолечением самолёт ель Ёж"_s, 1, {u"Ёж"_s, u"ель"_s, u"самолёт"_s, u"самолечением"_s}},
        {u"ЁЖ ёж Еж YES yes Yes"_s, 3, {u"ЁЖ"_s, u"YES"_s}}, // case and ё, in any letters
        // A soft hyphen is inside a word and no part of its spelling; a hyphen after it at a
        // word's edge is a dash.
        {u"Куку\u00ADев за\u00ADмок \u00ADКукуев\u00AD \u00AD"_s, 2, {u"Кукуев"_s}},
        {u"замок\u00AD-то \u00AD-то то-\u00AD"_s, 1, {u"замок"_s, u"то"_s}},
        // "<" and ">" are tags unless they stress the vowel before them; a tag holds no word.
        {u"‹замок> <p class=\"x\">Замок</p> <‹замок>> за<мок мою< вода</i> вода<i>"_s,
         1,
         {u"вода"_s, u"за<мок"_s, u"замок"_s, u"мою<"_s}},
        // Apostrophes between letters, in any of their forms.
        {u"'д'Артаньян' О’Генри д‘Артаньян О′Генри ʼзамокʼ д`Артаньян"_s,
         1,
         {u"д'Артаньян"_s, u"замок"_s, u"О'Генри"_s}},
        // Letters written with a combining mark are the letters they show.
        {u"мои\u0306 мой е\u0308ж ёж еще\u0308 ещё"_s, 2, {u"ёж"_s, u"ещё"_s, u"мой"_s}},
        {u"cafe\u0301 café"_s, 2, {u"café"_s}},
        // A stress accent or grave after a vowel is the program's own stress mark.
        {u"ве\u0300дь ве<дь ведь за́мок за<мок замок за>мок"_s, 2, {u"ве<дь"_s, u"за<мок"_s}},
        {u"Темно-синий тёмно-синий"_s, 2, {u"Темно-синий"_s}},
        // The book as it is heard: entities are their characters, tags and numbers no words,
        // "<<" and ">>" quotes, a particle no part of the word, and only a tag's shape a tag.
        {u"Он&nbsp;сказал: &laquo;замок&raquo; caf&#233; &#233;t&#xE9; &amp; &unknown;"_s,
         1,
         {u"замок"_s, u"Он"_s, u"сказал"_s, u"café"_s, u"été"_s, u"unknown"_s}},
        {u"руки</p> <br>дома <p class=\"x\" id='y'>вот</p>"_s, 1, {u"вот"_s, u"дома"_s, u"руки"_s}},
        {u"Он сказал: <<Мама>> … <<дорога>> 1 000 1-го 2-х 1999-й 10-ми 5-летний x2 XIX"_s,
         1,
         {u"5-летний"_s, u"дорога"_s, u"Мама"_s, u"Он"_s, u"сказал"_s, u"x2"_s, u"XIX"_s}},
        {u"Если x<y, то замок закрыт; если y>x, нет. Вронский-то д`Артаньян-таки"_s,
         1,
         {u"Вронский"_s, u"д'Артаньян"_s, u"Если"_s, u"закрыт"_s, u"замок"_s, u"нет"_s, u"то"_s, u"x"_s,
          u"y"_s}}};
    for (const auto &[text, threshold, expected] : cases)
        EXPECT_EQ(newWords(text, threshold), expected) << text.toStdString();
}

TEST(Finder, ExcludesTheWordsOfEachList)
{
    const QString text = u"дом Дом сад Сад лес Лес мёд"_s;
    const std::tuple<const char *, Lists, QStringList> cases[] = {
        {"the exception list counts case and ё",
         {{Pass::Exceptions, {u"дом :\t<до<м>"_s, u"мед :\t<ме<д>"_s}}},
         {u"лес"_s, u"мёд"_s, u"сад"_s}},
        {"so a capital stays",
         {{Pass::Exceptions, {u"Лес :\t<ле<с>"_s}}},
         {u"дом"_s, u"лес"_s, u"мёд"_s, u"сад"_s}},
        {"a bad field is passed over, not the end of the list",
         {{Pass::Exceptions, {u":\t<а<б>"_s, u"дом :\t<до<м>"_s}}},
         {u"лес"_s, u"мёд"_s, u"сад"_s}},
        {"fields without < and comments give nothing",
         {{Pass::Exceptions, {u"сад"_s, u"// лес <b>"_s}}},
         {u"дом"_s, u"лес"_s, u"мёд"_s, u"сад"_s}},
        {"the other lists ignore case and blanks, and read ё as е on both sides",
         {{Pass::Homographs, {u" ДОМ "_s}},
          {Pass::Known, {u"сад"_s, u"МЕД"_s}},
          {Pass::Listened, {u"лёс"_s}}},
         {}},
        {"a missing list skips only its pass", {{Pass::Known, {u"сад"_s}}}, {u"дом"_s, u"лес"_s, u"мёд"_s}}};
    for (const auto &[what, lists, expected] : cases)
        EXPECT_EQ(newWords(text, 1, lists), expected) << what;
}

TEST(Finder, AStopBeforeAPassEndsTheSearch)
{
    // What the progress panel shows, in turn: the list steps and the passes.
    const QStringList afterPass = {u"Сортировка списка слов"_s, u"Удаление повторов и пустых строк"_s};
    const QString homographs = finder::caption(Pass::Homographs);
    const std::pair<int, QStringList> thresholds[] = {
        {1, {u"Сортировка списка слов"_s, u"Удаление повторов и пустых строк"_s}},
        {2,
         {u"Сортировка списка слов"_s, u"Поиск повторов 2 и более раз"_s,
          u"Удаление повторов и пустых строк"_s}},
        {3,
         {u"Сортировка списка слов"_s, u"Поиск повторов 3 и более раз"_s,
          u"Удаление повторов и пустых строк"_s}},
    };
    for (const auto &[threshold, built] : thresholds) {
        QList<Pass> asked;
        QStringList shown;
        const auto result = finder::newWords(
            u"дом"_s, threshold,
            [](Pass p) {
                return p == Pass::Exceptions ? std::nullopt : std::optional<QStringList>(QStringList{});
            },
            [&](Pass p, int) {
                asked.append(p);
                shown.append(finder::caption(p));
                return p != Pass::Known;
            },
            [&shown](finder::ListStep step) { shown.append(finder::caption(step)); });
        EXPECT_FALSE(result.has_value());
        EXPECT_EQ(asked, (QList<Pass>{Pass::Homographs, Pass::Known}));
        EXPECT_EQ(shown,
                  built + QStringList{homographs} + afterPass + QStringList{finder::caption(Pass::Known)})
            << threshold;
    }
}

TEST(Finder, ProperNamesFollowAWordAwayFromASentenceStart)
{
    // "В Питере" starts a sentence; Казани lies after a comma and a word; Ряды is broken by a line end; names
    // run up to 20 characters.
    const QString text = u"Вчера в Москве. В Питере шёл дождь, и в Казани тоже, и в Ряды\r\nпоехал"_s;
    const QString name20 = u"А"_s + QString(19, u'а');
    const std::tuple<QString, QString, QStringList> cases[] = {
        {text, u"М"_s, {u"Москве."_s}},
        {text, u"К"_s, {u"Казани"_s}},
        {text, u"Р"_s, {}},
        {u"Ab"_s, u"b"_s, {}},
        {u"Жил в "_s + name20 + u" тут"_s, u"А"_s, {name20}},
        {u"Жил в "_s + name20 + u"а тут"_s, u"А"_s, {}}};
    for (const auto &[text, initial, expected] : cases)
        EXPECT_EQ(finder::FindProperNames(text, initial), expected) << text.toStdString();
}

TEST(Homographs, OccurrencesComeWithTheirContext)
{
    // Without a delimiter 10 to 30 characters on, the context stops 30 after the one before.
    const std::pair<QString, QStringList> cases[] = {
        {u"Ключ от замка; замок висел на двери сарая весь день."_s, {u"Ключ от замка; замок висел "_s}},
        {u"Давным-давно, в далёкой стране, стоял Замок, а рядом река. Конец"_s,
         {u" в далёкой стране, стоял Замок, а рядом "_s}},
        {u"(замок) и за<мок."_s, {u"(замок) и за<"_s}},
        {u"Вот замок"_s, {u"Вот замок"_s}},
        {u"Вот замок-то"_s, {u"Вот замок-то"_s}}, // before a particle
        {u"Там\r\nзамок стоит у реки"_s, {u"Там замок стоит "_s}},
        {u"Там\rзамок\nстоит у реки"_s, {u"Там замок стоит "_s}},
        {u"замок "_s + QString(40, u'а'), {u"замок "_s + QString(24, u'а')}},
        {u"Там за\u00ADмок, д'замок и за́мок"_s, {u"Там за\u00ADмок, д'"_s}},
        // Entities and tags are read; a comparison is no tag.
        {u"Если x<y, то замок закрыт, а мука дорога; если y>x, то нет."_s, {u"Если x<y, то замок закрыт,"_s}},
        {u"<p>&laquo;Замок&raquo;</p>"_s, {u"<p>&laquo;Замок&raqu"_s}}};
    for (const auto &[text, expected] : cases) {
        QStringList contexts;
        for (const homographs::Occurrence &o : homographs::occurrences(text, u"замок"_s)) {
            contexts.append(o.context);
            QString shown = text.mid(o.start, o.length); // each line break shows as a blank
            EXPECT_EQ(shown.replace(u"\r\n"_s, u" "_s).replace(u'\r', u' ').replace(u'\n', u' '), o.context);
        }
        EXPECT_EQ(contexts, expected) << text.toStdString();
    }
}

TEST(Homographs, MarksWordsBetweenBlanksAndPunctuation)
{
    using R = homographs::Range;
    const std::tuple<QString, QStringList, QList<R>> cases[] = {
        {u"Ну... 3.14 Замок. Там замок, и замок\r\nзамок"_s,
         {u"замок"_s},
         {R{11, 5}, R{22, 5}, R{31, 5}, R{38, 5}}},
        // Before a particle the homograph alone is marked.
        {u"замок замок-то -замок стоит-ка"_s,
         {u"замок"_s, u"стоит"_s},
         {R{0, 6}, R{6, 5}, R{16, 6}, R{22, 5}}},
        // Composed letters, apostrophes in all forms; a tag holds no word.
        {u"мои\u0306 ʼзамокʼ д‘замок <p class=\"замок\">"_s, {u"мой"_s, u"замок"_s}, {R{0, 5}, R{6, 5}}},
        {u"«Замок» (замок) —замок– „замок“ \"замок\" за<мок замок2"_s,
         {u"замок"_s},
         {R{1, 5}, R{9, 5}, R{17, 5}, R{25, 5}, R{33, 5}}},
        {u"а уже, и уже"_s, {u""_s, u"уже,"_s, u"уже"_s}, {R{2, 3}, R{9, 3}}},
        {u"а на двери. На  двери на двери"_s, {u"на двери"_s}, {R{2, 8}, R{22, 8}}},
        // Soft hyphens and accents are no part of the word; tags and quotes are none either,
        // while a stress mark and an apostrophe between letters are.
        {u"за\u00ADмок за́мок ‹замок> <p>Замок <‹замок>> 'замок' д'замок за<мок мою< мою"_s,
         {u"замок"_s, u"мою"_s},
         {R{0, 7}, R{15, 5}, R{25, 6}, R{33, 5}, R{42, 5}, R{69, 3}}},
        // A comparison is no tag, "<<" and ">>" are quotes, an entity is its character, and
        // an accented homograph is already read.
        {u"Если x<y, то замок закрыт, а мука дорога; если y>x, то нет. <<дорога>> &laquo;мука&raquo; му́ка"_s,
         {u"замок"_s, u"мука"_s, u"дорога"_s},
         {R{13, 6}, R{29, 5}, R{78, 4}, R{34, 6}, R{62, 6}}}};
    for (const auto &[text, rows, marks] : cases)
        EXPECT_EQ(homographs::marks(text, rows), marks) << text.toStdString();
}
