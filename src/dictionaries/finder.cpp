#include "dictionaries/finder.h"

#include "platform/text/words.h"

#include <QCollator>
#include <QHash>

#include <algorithm>
#include <numeric>
#include <vector>

namespace finder {

namespace {

// How a word is compared with a pass's list, stress accents left out: exactly for the
// exceptions, which the speech layer applies as written; else case ignored and "ё" read as
// "е", since books and lists write it or leave it out as they please.
// The key is written into `key`, whose buffer is reused: a book's every word and a list's
// every row pass here.
void comparableInto(QString &key, QStringView word, Pass pass)
{
    if (pass == Pass::Exceptions) {
        key = words::spelling(word.toString());
        return;
    }
    words::foldInto(key, word);
    key.replace(u'ё', u'е');
}

QString comparable(QStringView word, Pass pass)
{
    QString key;
    comparableInto(key, word, pass);
    return key;
}

} // namespace

namespace {

struct PassList
{
    const char16_t *file;
    const char16_t *caption;
};

// In the order of Pass.
constexpr PassList kPassLists[] = {
    {u"DIC/exc_rus.txt", u"Исключение слов, имеющихся в exc_rus.txt"},
    {u"DIC/homograph.txt", u"Исключение омографов"},
    {u"DIC/70000.txt", u"Исключение известных слов (70000.txt)"},
    {u"DIC/already_listened .txt", u"Исключение ранее уже прослушанных слов (already_listened .txt)"},
};

} // namespace

QString listFile(Pass pass)
{
    return QString::fromUtf16(kPassLists[int(pass)].file);
}

QString caption(Pass pass)
{
    return QString::fromUtf16(kPassLists[int(pass)].caption);
}

QString caption(ListStep step)
{
    // In the order of ListStep.
    static const char16_t *const captions[] = {u"Сортировка списка слов", u"Удаление повторов и пустых строк",
                                               u"Поиск повторов 2 и более раз",
                                               u"Поиск повторов 3 и более раз"};
    return QString::fromUtf16(captions[int(step)]);
}

QString searchText(const QString &whole, const QString &selection)
{
    return u' ' + (selection.isEmpty() ? whole : selection) + u' ';
}

namespace {

// Russian rules whatever the user's locale: under C or C.UTF-8 "ё" would follow "я".
const QCollator &collator()
{
    static const QCollator collator = [] {
        QCollator c{QLocale(QLocale::Russian, QLocale::Russia)};
        c.setCaseSensitivity(Qt::CaseInsensitive);
        return c;
    }();
    return collator;
}

// Sorts as sortsBefore does, each word collated once into its key rather than at every
// comparison: a book's list holds thousands of words.
void sortWords(QStringList &list)
{
    std::vector<QCollatorSortKey> keys;
    keys.reserve(list.size());
    for (const QString &w : list)
        keys.push_back(collator().sortKey(w));
    std::vector<qsizetype> order(list.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(),
                     [&keys](qsizetype a, qsizetype b) { return keys[a].compare(keys[b]) < 0; });
    QStringList sorted;
    sorted.reserve(list.size());
    for (qsizetype i : order)
        sorted.append(list[i]);
    list = std::move(sorted);
}

// Digits alone ("1999") or with a case ending ("1-го", "2-х", "10-ми").
bool isNumber(QStringView word)
{
    qsizetype i = 0;
    while (i < word.size() && word[i] >= u'0' && word[i] <= u'9')
        ++i;
    if (i == 0 || i == word.size())
        return i > 0;
    const QStringView ending = word.sliced(i + 1);
    return word[i] == u'-' && ending.size() <= 3 &&
           std::all_of(ending.begin(), ending.end(), [](QChar c) { return c.isLetter(); });
}

// The words met at least `threshold` times, in text order. Counting by the spelling the lists
// compare gives what sorting the whole list and comparing neighbours gives, without sorting
// every occurrence of a book; a word written with "ё" and with "е" is one.
QStringList countedWords(const QString &text, int threshold)
{
    QHash<QString, qsizetype> index;
    QStringList unique;
    QList<int> counts;
    QString key;
    words::forEach(text, [&](QStringView w, qsizetype, qsizetype) {
        // A list and a dictionary entry know the word, not its particle; a number is read
        // by the engine's own rules, which no entry changes.
        w = w.left(words::withoutParticle(w));
        if (isNumber(w))
            return;
        comparableInto(key, w, Pass::Known);
        auto it = index.constFind(key);
        if (it == index.cend()) {
            index.insert(key, unique.size());
            unique.append(words::spelling(w.toString()));
            counts.append(1);
        } else {
            ++counts[*it];
        }
    });
    QStringList kept;
    for (qsizetype i = 0; i < unique.size(); ++i)
        if (counts[i] >= threshold)
            kept.append(unique[i]);
    return kept;
}

} // namespace

QStringList repeatedWords(const QString &text, int threshold)
{
    QStringList kept = countedWords(text, threshold);
    sortWords(kept);
    return kept;
}

bool sortsBefore(const QString &a, const QString &b)
{
    return collator().compare(a, b) < 0;
}

QStringList exclusionWords(Pass pass, const QStringList &fields)
{
    QStringList out;
    out.reserve(fields.size());
    for (const QString &f : fields) {
        if (pass != Pass::Exceptions) {
            out.append(f.trimmed());
            continue;
        }
        // An entry line holds the exception, " :", a TAB and "<"; a "<" among the first
        // three characters belongs to no entry and is passed over.
        const qsizetype lt = f.indexOf(u'<');
        if (lt >= 3)
            out.append(f.left(lt - 3));
    }
    return out;
}

QStringList exclude(const QStringList &words, Pass pass, const QStringList &exclusions)
{
    // A book's words are far fewer than a list's, so they are what is hashed: each by its
    // compared form, and again by the form before its particle ("замок-то" is known when
    // "замок" is).
    QMultiHash<QString, qsizetype> index;
    index.reserve(words.size());
    for (qsizetype i = 0; i < words.size(); ++i) {
        index.insert(comparable(words[i], pass), i);
        if (const qsizetype stem = words::withoutParticle(words[i]); stem < words[i].size())
            index.insert(comparable(words[i].left(stem), pass), i);
    }
    QList<bool> known(words.size(), false);
    QString key;
    for (const QString &e : exclusions) {
        comparableInto(key, e, pass);
        const auto [first, last] = std::as_const(index).equal_range(key);
        for (auto it = first; it != last; ++it)
            known[it.value()] = true;
    }
    QStringList out;
    for (qsizetype i = 0; i < words.size(); ++i)
        if (!known[i])
            out.append(words[i]);
    return out;
}

std::optional<QStringList> newWords(const QString &text, int threshold,
                                    const std::function<std::optional<QStringList>(Pass)> &fields,
                                    const std::function<bool(Pass, int exclusions)> &proceed,
                                    const std::function<void(ListStep)> &shown)
{
    const auto show = [&shown](ListStep step) {
        if (shown)
            shown(step);
    };
    // The threshold steps end by keeping every word once, as that step alone does.
    show(ListStep::Sort);
    if (threshold >= 2)
        show(threshold == 2 ? ListStep::TwiceOrMore : ListStep::ThriceOrMore);
    show(ListStep::Once);
    // Sorted once the lists have taken their words, which leaves far fewer to sort: the
    // same order, as excluding keeps the order of the rest.
    QStringList words = countedWords(text, threshold);
    for (Pass pass : kPasses) {
        const std::optional<QStringList> list = fields(pass);
        if (!list)
            continue;
        const QStringList exclusions = exclusionWords(pass, *list);
        if (proceed && !proceed(pass, int(exclusions.size())))
            return std::nullopt;
        words = exclude(words, pass, exclusions);
        // Excluding keeps each word once; the steps still show, as after every pass.
        show(ListStep::Sort);
        show(ListStep::Once);
    }
    sortWords(words);
    return words;
}

QStringList FindProperNames(const QString &text, const QString &search)
{
    QStringList found;
    if (search.isEmpty())
        return found;
    // 1-based, as the rules below count; outside the text is no character.
    const auto at = [&text](qsizetype i) { return i >= 1 && i <= text.size() ? text[i - 1] : QChar(); };
    const auto oneOf = [](QChar c, QStringView set) { return !c.isNull() && set.contains(c); };
    qsizetype from = 2;
    for (;;) {
        const qsizetype p = text.indexOf(search, from - 1) + 1;
        if (p < 7)
            break;
        from = p + 1;
        if (oneOf(at(p - 1), u".!?-") || (at(p - 3) == u' ' && at(p - 2) == u' ') ||
            oneOf(at(p - 2), u".!?-") || oneOf(at(p - 3), u".!?"))
            continue;
        for (qsizetype j = 1; j <= 20; ++j) {
            if (at(p + j) != u' ')
                continue;
            const QString candidate = text.mid(p - 1, j);
            if (candidate.size() > 4 && !candidate.contains(QStringLiteral("\r\n")))
                found.append(candidate);
            break;
        }
    }
    return found;
}

} // namespace finder
