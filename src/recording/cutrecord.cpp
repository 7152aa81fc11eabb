#include "recording/cutrecord.h"

#include "platform/text/textfile.h"

#include <limits>

namespace cutrecord {
namespace {

const QString kBlockLimit = QStringLiteral("BlockLimit");
const QString kBookSize = QStringLiteral("BookSize");
const QString kBookChecksum = QStringLiteral("BookSha256");

bool sameBook(const Record &a, const Record &b)
{
    return a.bookSize == b.bookSize && a.bookChecksum == b.bookChecksum;
}

} // namespace

QString fileName()
{
    return QStringLiteral(".blockcut");
}

QString toText(const Record &record)
{
    return QStringLiteral("%1=%2\r\n%3=%4\r\n%5=%6\r\n")
        .arg(kBlockLimit)
        .arg(record.blockLimit)
        .arg(kBookSize)
        .arg(record.bookSize)
        .arg(kBookChecksum, QString::fromLatin1(record.bookChecksum));
}

std::optional<Record> parse(const QString &text)
{
    std::optional<qint64> limit, size;
    std::optional<QByteArray> checksum;
    for (const QString &line : textfile::splitLines(text, textfile::LineEnds::Any)) {
        const QString key = line.section(u'=', 0, 0).trimmed();
        const QString value = line.section(u'=', 1).trimmed();
        bool ok = false;
        if (key == kBlockLimit) {
            const qint64 n = value.toLongLong(&ok);
            if (ok && n >= 0 && n <= std::numeric_limits<std::int32_t>::max())
                limit = n;
        } else if (key == kBookSize) {
            const qint64 n = value.toLongLong(&ok);
            if (ok && n >= 0)
                size = n;
        } else if (key == kBookChecksum && !value.isEmpty()) {
            checksum = value.toLatin1();
        }
    }
    if (!limit || !size || !checksum)
        return std::nullopt;
    return Record{std::int32_t(*limit), *size, *checksum};
}

Verdict compare(const std::optional<QString> &stored, const Record &current)
{
    if (!stored)
        return Verdict::NothingRemembered;
    const std::optional<Record> record = parse(*stored);
    if (!record)
        return Verdict::Unreadable;
    const bool otherCut = record->blockLimit != current.blockLimit;
    const bool otherBook = !sameBook(*record, current);
    if (otherCut && otherBook)
        return Verdict::OtherCutAndBook;
    if (otherCut)
        return Verdict::OtherCut;
    return otherBook ? Verdict::OtherBook : Verdict::Same;
}

bool mayHoldAnotherBook(Verdict verdict)
{
    return verdict == Verdict::OtherBook || verdict == Verdict::OtherCutAndBook ||
           verdict == Verdict::Unreadable;
}

QString difference(const std::optional<QString> &stored, const Record &current)
{
    const Verdict verdict = compare(stored, current);
    if (verdict == Verdict::Unreadable)
        return QStringLiteral("сведения о прежней нарезке не читаются");
    QStringList parts;
    if (verdict == Verdict::OtherCut || verdict == Verdict::OtherCutAndBook)
        parts << QStringLiteral("длина блока: было %1 знаков, теперь %2")
                     .arg(parse(*stored)->blockLimit)
                     .arg(current.blockLimit);
    if (mayHoldAnotherBook(verdict))
        parts << QStringLiteral("текст книги другой");
    return parts.join(QStringLiteral("; "));
}

} // namespace cutrecord
