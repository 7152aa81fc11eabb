#include "dictionaries/checktools.h"

#include "dictionaries/pattern.h"

#include <QCollator>
#include <QHash>
#include <QLocale>

#include <algorithm>
#include <vector>

namespace checktools {

namespace {

const QString kBlankMark = QStringLiteral("##");

bool sameText(const QString &a, const QString &b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// Keeps the last of every run of neighbours equal but for case.
int removeRepeats(QStringList &records)
{
    QStringList kept;
    kept.reserve(records.size());
    for (qsizetype i = 0; i < records.size(); ++i) {
        if (i + 1 < records.size() && sameText(records[i], records[i + 1]))
            continue;
        kept.append(records[i]);
    }
    const int removed = int(records.size() - kept.size());
    records = std::move(kept);
    return removed;
}

// Turns every blank inside the pronunciation brackets into "##".
int markBlanks(QString &record)
{
    int replaced = 0;
    for (;;) {
        const qsizetype open = record.indexOf(u'<');
        const qsizetype close = record.indexOf(u'>');
        if (open < 0 || close < 0)
            return replaced;
        const qsizetype blank = record.indexOf(u' ', open + 1);
        if (blank < 0 || blank >= close)
            return replaced;
        record.replace(blank, 1, kBlankMark);
        ++replaced;
    }
}

// Matches the words of the exception with the word marks of the pronunciation. False when
// the record is to be removed; a record with too few marks is padded before its ">".
bool fitWordCount(QString &record)
{
    if (record.indexOf(u':') < 1 || !record.contains(kBlankMark))
        return true;
    for (;;) {
        // Padding in front of the colon moves it: both sides are measured afresh.
        const qsizetype colon = record.indexOf(u':');
        const int words = int(record.left(colon).trimmed().count(u' '));
        const int marks = int(record.mid(colon + 1).count(kBlankMark));
        if (record.size() > 200 || words < marks)
            return false;
        if (words > marks) {
            // Without a ">" padding would never end.
            if (!record.contains(u'>'))
                return false;
            record.replace(QStringLiteral(">"), QStringLiteral("##>"));
            continue;
        }
        return words <= 4;
    }
}

enum class Action
{
    Remove,
    Empty
};

QStringList walk(const QStringList &records, const std::function<bool(const QString &)> &taken,
                 const std::function<QString(const QString &)> &question, Action action, const Ask &ask,
                 const Progress &progress = {})
{
    QStringList out;
    out.reserve(records.size());
    for (qsizetype i = 0; i < records.size(); ++i) {
        const int number = int(out.size()) + 1;
        if (progress)
            progress(number);
        const QString &record = records[i];
        if (taken(record) && ask({number, int(i), record, question(record)})) {
            if (action == Action::Empty)
                out.append(QString());
            continue;
        }
        out.append(record);
    }
    return out;
}

QString deleteQuestion(const QString &record)
{
    return record + QStringLiteral("  - удалить?");
}

} // namespace

std::optional<QString> wordPart(const QString &record)
{
    const qsizetype colon = record.indexOf(u':');
    if (colon < 0)
        return std::nullopt;
    return record.left(colon);
}

QString Sorted::report() const
{
    return QStringLiteral(
               "Удалено %1 повторов \r\n%2 пробелов заменены на ##\r\nУдалено %3 недопустимых записей")
        .arg(repeats)
        .arg(blanks)
        .arg(invalid);
}

void sortRecords(QStringList &records)
{
    QCollator collator{QLocale(QLocale::Russian, QLocale::Russia)};
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::vector<std::pair<QCollatorSortKey, qsizetype>> keys;
    keys.reserve(records.size());
    for (qsizetype i = 0; i < records.size(); ++i)
        keys.emplace_back(collator.sortKey(records[i]), i);
    std::stable_sort(keys.begin(), keys.end(),
                     [](const auto &a, const auto &b) { return a.first.compare(b.first) < 0; });
    QStringList sorted;
    sorted.reserve(records.size());
    for (const auto &key : keys)
        sorted.append(records[key.second]);
    records = std::move(sorted);
}

Sorted sortAndClean(QStringList records)
{
    Sorted result;
    sortRecords(records);
    result.repeats = removeRepeats(records);
    for (QString &record : records)
        result.blanks += markBlanks(record);
    // New marks can make records equal that were not.
    result.repeats += removeRepeats(records);
    QStringList valid;
    valid.reserve(records.size());
    bool changed = false;
    for (QString &record : records) {
        const QString before = record;
        if (!fitWordCount(record)) {
            ++result.invalid;
            changed = true;
            continue;
        }
        changed = changed || record != before;
        valid.append(record);
    }
    if (changed)
        result.repeats += removeRepeats(valid);
    result.records = std::move(valid);
    return result;
}

bool isLong(const QString &record)
{
    return pattern::like(record, QStringLiteral("*[#][#]*[#][#]*"));
}

bool isInadequate(const QString &record)
{
    const qsizetype p = record.indexOf(u':') + 1;
    const qsizetype length = record.size();
    // (L - 5) / 2 > p + 1 or L / 2 < p, halves kept exact.
    return length - 5 > 2 * (p + 1) || length < 2 * p;
}

bool isOneSyllable(const QString &record)
{
    const qsizetype colon = record.indexOf(u':');
    const QString word = colon < 0 ? QString() : record.left(colon + 1);
    return !pattern::like(word, QStringLiteral("*[й,у,е,а,о,э,я,и,ю,ё,ы,У,Е,А,О,Э,Я,И,Ю,Ё]*"
                                               "[й,у,а,о,э,е,я,и,ю,ё,ы]*"));
}

QStringList findLong(const QStringList &records, const Ask &ask, const Progress &progress)
{
    return walk(
        records, isLong, [](const QString &r) { return r + QStringLiteral("  -удалить?"); }, Action::Remove,
        ask, progress);
}

QStringList findInadequate(const QStringList &records, const Ask &ask)
{
    return walk(
        records, isInadequate, [](const QString &r) { return QStringLiteral("Стереть запись?\r\n") + r; },
        Action::Empty, ask);
}

QStringList findOneSyllable(const QStringList &records, const Ask &ask)
{
    return walk(records, isOneSyllable, deleteQuestion, Action::Remove, ask);
}

QStringList findHomographs(const QStringList &records, const QStringList &homographs, const Ask &ask)
{
    QStringList out = records;
    for (qsizetype i = 0; i < out.size(); ++i) {
        const auto part = wordPart(records[i]);
        if (!part)
            continue;
        const QString word = u' ' + *part;
        for (const QString &row : homographs) {
            if (sameText(word, row) && ask({int(i) + 1, int(i), out[i], deleteQuestion(out[i])}))
                out[i].clear();
        }
    }
    return out;
}

Moved moveYo(const QStringList &records)
{
    Moved result;
    for (const QString &record : records) {
        if (record.contains(u'ё', Qt::CaseInsensitive)) {
            result.fileLines.append(record);
            ++result.moved;
        } else {
            result.records.append(record);
        }
    }
    return result;
}

QString autoreplaceLine(const QString &record)
{
    QString line = record;
    line.replace(QStringLiteral(" :"), QStringLiteral("="));
    line.remove(QStringLiteral("\t<"));
    line.replace(kBlankMark, QStringLiteral(" "));
    line.remove(u'>');
    line.remove(QStringLiteral("/i"));
    const qsizetype first =
        std::find_if(line.cbegin(), line.cend(), [](QChar c) { return c != u' '; }) - line.cbegin();
    return line.mid(first);
}

Moved movePhrases(const QStringList &records)
{
    Moved result;
    for (const QString &record : records) {
        if (record.contains(kBlankMark)) {
            result.fileLines.append(autoreplaceLine(record));
            ++result.moved;
        } else {
            result.records.append(record);
        }
    }
    return result;
}

Moved moveVariants(const QStringList &records)
{
    Moved result;
    QStringList list = records;
    qsizetype i = 1;
    while (i < list.size()) {
        const auto a = wordPart(list[i - 1]);
        const auto b = wordPart(list[i]);
        if (!a || !b || !sameText(*a, *b)) {
            ++i;
            continue;
        }
        result.fileLines << list[i - 1] << list[i] << QString() << QString();
        result.moved += 2;
        list.remove(i - 1, 2);
        // The records on either side of the pair are neighbours now.
        i = std::max<qsizetype>(1, i - 1);
    }
    result.records = std::move(list);
    return result;
}

QString Overlap::message() const
{
    return word + QStringLiteral("\r\n") + otherRecord;
}

QStringList Overlap::fileLines() const
{
    return {word, otherRecord, QString(), QString()};
}

std::optional<Overlap> findOverlap(const QStringList &records, int start, const Progress &progress)
{
    // Every word that a blank follows, by its folded text: where it stands in " " + record.
    struct Place
    {
        int record;
        qsizetype blank;
    };
    QHash<QString, std::vector<Place>> words;
    bool indexed = false;
    auto buildIndex = [&] {
        for (int j = 0; j < records.size(); ++j) {
            const QString text = u' ' + records[j];
            qsizetype blank = 0;
            for (;;) {
                const qsizetype next = text.indexOf(u' ', blank + 1);
                if (next < 0)
                    break;
                if (next > blank + 1)
                    words[text.mid(blank + 1, next - blank - 1).toCaseFolded()].push_back({j, blank});
                blank = next;
            }
        }
        indexed = true;
    };
    const int n = int(records.size());
    for (int i = std::max(0, start); i < n; ++i) {
        if (progress)
            progress(i + 1);
        const auto part = wordPart(records[i]);
        if (!part)
            continue;
        const QString needle = u' ' + *part;
        const qsizetype firstBlank = part->indexOf(u' ');
        std::optional<int> found;
        if (firstBlank > 0) {
            if (!indexed)
                buildIndex();
            const auto it = words.constFind(part->left(firstBlank).toCaseFolded());
            if (it != words.constEnd()) {
                for (const Place &place : *it) {
                    if (place.record == i)
                        continue;
                    if (sameText((u' ' + records[place.record]).mid(place.blank, needle.size()), needle)) {
                        found = place.record;
                        break;
                    }
                }
            }
        } else {
            // A word part that no blank ends (or that starts with one) is looked for plainly.
            for (int j = 0; j < n && !found; ++j) {
                if (j != i && (u' ' + records[j]).contains(needle, Qt::CaseInsensitive))
                    found = j;
            }
        }
        if (found)
            return Overlap{i, *found, *part, records[*found]};
    }
    return std::nullopt;
}

} // namespace checktools
