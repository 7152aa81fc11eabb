// Dictionary check tools and comparisons on a 50,000-record dictionary made from the words
// of the test books (single words, phrases, repeats, invalid records, variant readings),
// against their step-by-step forms. The quadratic forms are timed on the first 5,000
// records and scaled by the square of the size; `--full` times them on all records too.
#include "checktools_reference.h"
#include "dictionaries/checktools.h"
#include "dictionaries/diccompare.h"
#include "platform/text/textfile.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QRegularExpression>
#include <QSet>

#include <cstdio>
#include <functional>
#include <random>

namespace {

constexpr int kRecords = 50000;
constexpr int kSample = 5000;

QStringList bookWords()
{
    QSet<QString> seen;
    QStringList words;
    const QRegularExpression word(QStringLiteral("[А-Яа-яЁё]{2,}"));
    const QDir books(QStringLiteral(QUENVALE_TEST_DATA_DIR));
    for (const QString &name : books.entryList({QStringLiteral("*.txt")}, QDir::Files, QDir::Name)) {
        const QString text = textfile::readText(books.filePath(name)).value_or(QString());
        for (auto it = word.globalMatch(text); it.hasNext();) {
            const QString w = it.next().captured().toLower();
            if (!seen.contains(w)) {
                seen.insert(w);
                words.append(w);
            }
        }
    }
    return words;
}

QString stressed(const QString &word, int vowel)
{
    static const QString vowels = QStringLiteral("аеёиоуыэюя");
    int seen = 0;
    for (qsizetype i = 0; i < word.size(); ++i)
        if (vowels.contains(word[i]) && seen++ == vowel)
            return word.left(i + 1) + u'<' + word.mid(i + 1);
    return word;
}

QString entry(const QString &exception, const QString &pronunciation, bool ignoreCase)
{
    return exception + QStringLiteral(" :\t<") + pronunciation +
           (ignoreCase ? QStringLiteral("> /i") : QStringLiteral(">"));
}

// Single words come from the even words and phrases from the odd ones, so with
// `overlapFree` no exception recurs as a word of another record.
QStringList dictionary(const QStringList &words, int count, unsigned seed, bool overlapFree)
{
    std::mt19937 rng(seed);
    QStringList records;
    records.reserve(count);
    auto word = [&](int parity) {
        const int half = int(words.size() / 2);
        return words[2 * int(rng() % half) + parity];
    };
    QSet<QString> used;
    while (records.size() < count) {
        const int kind = int(rng() % 100);
        const QString a = word(0);
        if (overlapFree) {
            // Unique single words and unique phrases only.
            const QString phrase = kind < 75 ? a : word(1) + u' ' + word(1);
            if (used.contains(phrase))
                continue;
            used.insert(phrase);
            const QStringList parts = phrase.split(u' ');
            records.append(entry(phrase,
                                 parts.size() == 1
                                     ? stressed(a, 0)
                                     : stressed(parts[0], 0) + QStringLiteral("##") + stressed(parts[1], 0),
                                 true));
            continue;
        }
        if (kind < 60) {
            records.append(entry(a, stressed(a, 0), kind % 3 == 0));
            continue;
        }
        if (kind < 75) { // a phrase, its blank sometimes still a blank
            const QString b = word(1), c = word(1);
            records.append(entry(b + u' ' + c,
                                 stressed(b, 0) + (kind % 2 ? QStringLiteral("##") : QStringLiteral(" ")) +
                                     stressed(c, 1),
                                 true));
        } else if (kind < 82 && !records.isEmpty()) { // a repeat, maybe in other case
            const QString earlier = records[int(rng() % records.size())];
            records.append(kind % 2 ? earlier.toUpper() : earlier);
        } else if (kind < 88) { // invalid: too many word marks, or a phrase missing its ">"
            records.append(kind % 2 ? entry(a, stressed(a, 0) + QStringLiteral("##"), false)
                                    : word(1) + u' ' + word(1) + QStringLiteral(" :\t<") + a +
                                          QStringLiteral("##") + a);
        } else if (kind < 94) { // a variant reading
            records.append(entry(a, stressed(a, 0), false));
            records.append(entry(a, stressed(a, 1), false));
        } else { // a phrase of three words short of one mark
            records.append(
                entry(a + u' ' + word(1) + u' ' + word(1), stressed(a, 0) + QStringLiteral("##") + a, true));
        }
    }
    records.resize(count);
    return records;
}

double timed(const std::function<void()> &run)
{
    QElapsedTimer clock;
    clock.start();
    run();
    return clock.nsecsElapsed() / 1e6;
}

void report(const char *what, double fastMs, double baseMs, bool scaled)
{
    std::printf("%-44s %9.1f ms   baseline %12.1f ms%s   ratio %8.0fx\n", what, fastMs, baseMs,
                scaled ? " (scaled)" : "         ", baseMs / fastMs);
    std::fflush(stdout);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const bool full = app.arguments().contains(QStringLiteral("--full"));
    const QStringList words = bookWords();
    const QStringList dic = dictionary(words, kRecords, 1, false);
    const QStringList clean = dictionary(words, kRecords, 2, true);
    const QStringList other = dictionary(words, kRecords / 2, 3, false);
    const QStringList second = dic.mid(kRecords / 2) + other;
    std::printf("%lld distinct book words; %d records (sorted %lld left, overlap-free %lld)\n",
                static_cast<long long>(words.size()), kRecords,
                static_cast<long long>(checktools::sortAndClean(dic).records.size()),
                static_cast<long long>(clean.size()));

    const double scale = double(kRecords) / kSample * (double(kRecords) / kSample);
    auto baseline = [&](const std::function<void(const QStringList &, const QStringList &)> &run,
                        const QStringList &a, const QStringList &b) {
        if (full)
            return std::pair(timed([&] { run(a, b); }), false);
        return std::pair(timed([&] { run(a.mid(0, kSample), b.mid(0, kSample)); }) * scale, true);
    };

    // Sorting and cleaning: the baseline restarts at the repeats after every change.
    {
        const double fast = timed([&] { checktools::sortAndClean(dic); });
        const auto [base, scaled] =
            baseline([](const QStringList &a, const QStringList &) { reference::sortAndClean(a); }, dic, {});
        report("DelDublDic", fast, base, scaled);
    }
    {
        const QStringList sorted = checktools::sortAndClean(dic).records;
        const double fast = timed([&] { checktools::moveVariants(sorted); });
        const auto [base, scaled] =
            baseline([](const QStringList &a, const QStringList &) { reference::variants(a); }, sorted, {});
        report("SplitVariantsDic", fast, base, scaled);
    }
    {
        const double fast = timed([&] {
            if (checktools::findOverlap(clean, 0, [](int) {}))
                std::printf("unexpected overlap\n");
        });
        const auto [base, scaled] =
            baseline([](const QStringList &a, const QStringList &) { reference::overlap(a, 0); }, clean, {});
        report("FindOverlapDic, no pair", fast, base, scaled);
    }
    const checktools::Ask no = [](const checktools::Offer &) { return false; };
    QStringList homographs;
    for (int i = 0; i < 300; ++i)
        homographs.append(u' ' + words[i] + u' ');
    const std::pair<const char *, std::function<void()>> walks[] = {
        {"find2 (long records), all No", [&] { checktools::findLong(dic, no, [](int) {}); }},
        {"menu2_5 (inadequate), all No", [&] { checktools::findInadequate(dic, no); }},
        {"FindOneSyllableDic, all No", [&] { checktools::findOneSyllable(dic, no); }},
        {"FindHomographDic (300 words), all No", [&] { checktools::findHomographs(dic, homographs, no); }},
    };
    for (const auto &[what, run] : walks)
        std::printf("%-44s %9.1f ms   (linear walks; no separate baseline)\n", what, timed(run));

    // Comparisons of two dictionaries sharing half their records.
    const std::pair<const char *, std::function<void()>> fastCompare[] = {
        {"compare1 (matching)", [&] { diccompare::matching(dic, second, [](int) { return true; }); }},
        {"compare2 (non-matching)", [&] { diccompare::nonMatching(dic, second, [](int) { return true; }); }},
        {"compare3 (first not in second)",
         [&] { diccompare::missing(dic, second, [](int) { return true; }); }},
        {"compare4 (second not in first)",
         [&] { diccompare::missing(second, dic, [](int) { return true; }); }},
        {"compare5 (sum, sorted)",
         [&] {
             QStringList all = diccompare::sum(dic, second, [](int) { return true; }).entries;
             checktools::sortRecords(all);
         }},
    };
    const std::function<void(const QStringList &, const QStringList &)> slowCompare[] = {
        [](const QStringList &a, const QStringList &b) { reference::matching(a, b); },
        [](const QStringList &a, const QStringList &b) {
            reference::missing(a, b) + reference::missing(b, a);
        },
        [](const QStringList &a, const QStringList &b) { reference::missing(a, b); },
        [](const QStringList &a, const QStringList &b) { reference::missing(b, a); },
        [](const QStringList &a, const QStringList &b) {
            QStringList all = a + b;
            checktools::sortRecords(all);
        },
    };
    for (int k = 0; k < 5; ++k) {
        const double fast = timed(fastCompare[k].second);
        if (k == 4) {
            // The sum is linear in both forms: its baseline runs whole.
            report(fastCompare[k].first, fast, timed([&] { slowCompare[k](dic, second); }), false);
            continue;
        }
        const auto [base, scaled] = baseline(slowCompare[k], dic, second);
        report(fastCompare[k].first, fast, base, scaled);
    }
    return 0;
}
