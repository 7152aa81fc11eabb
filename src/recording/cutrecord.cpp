#include "recording/cutrecord.h"

#include "platform/text/textfile.h"

#include <QCryptographicHash>

namespace cutrecord {
namespace {

const QString kBlockLimit = QStringLiteral("BlockLimit");
const QString kBookSize = QStringLiteral("TextChars");
const QString kBookChecksum = QStringLiteral("TextSha256");

bool sameBook(const Record &a, const Record &b)
{
    return a.bookSize == b.bookSize && a.bookChecksum == b.bookChecksum;
}

} // namespace

QString fileName()
{
    return QStringLiteral(".blockcut");
}

bool isDraftName(const QString &name)
{
    const QString prefix = fileName() + u'.';
    return name.size() == prefix.size() + 6 && name.startsWith(prefix);
}

std::optional<Record> ofBook(const QString &path, std::int32_t blockLimit, QString *error)
{
    // The same reader as the recording's: what it does not see cannot change a block.
    textfile::LineReader book(path, textfile::LineEnds::Any);
    if (!book.isOpen()) {
        if (error)
            *error = book.errorString();
        return std::nullopt;
    }
    QCryptographicHash hash(QCryptographicHash::Sha256);
    qint64 characters = 0;
    for (bool first = true; const std::optional<QString> line = book.next(); first = false) {
        if (!first) {
            hash.addData("\n");
            ++characters;
        }
        hash.addData(line->toUtf8());
        characters += line->size();
    }
    return Record{blockLimit, characters, hash.result().toHex()};
}

QString toText(const Record &record)
{
    return kBlockLimit + u'=' + QString::number(record.blockLimit) + QStringLiteral("\r\n") + kBookSize +
           u'=' + QString::number(record.bookSize) + QStringLiteral("\r\n") + kBookChecksum + u'=' +
           QString::fromLatin1(record.bookChecksum) + QStringLiteral("\r\n");
}

std::optional<Record> parse(const QString &text)
{
    std::optional<std::int32_t> limit;
    std::optional<qint64> size;
    std::optional<QByteArray> checksum;
    for (const QString &line : textfile::splitLines(text, textfile::LineEnds::Any)) {
        const QString key = line.section(u'=', 0, 0).trimmed();
        const QString value = line.section(u'=', 1).trimmed();
        bool ok = false;
        if (key == kBlockLimit) {
            if (const int n = value.toInt(&ok); ok)
                limit = n;
        } else if (key == kBookSize) {
            if (const qint64 n = value.toLongLong(&ok); ok)
                size = n;
        } else if (key == kBookChecksum && !value.isEmpty()) {
            checksum = value.toLatin1();
        }
    }
    if (!limit || !size || !checksum)
        return std::nullopt;
    return Record{*limit, *size, *checksum};
}

Comparison compare(const std::optional<QString> &stored, const Record &current)
{
    if (!stored)
        return {};
    const std::optional<Record> record = parse(*stored);
    if (!record)
        return {Verdict::Unreadable, QStringLiteral("сведения о прежней нарезке не читаются")};
    const bool otherCut = record->blockLimit != current.blockLimit;
    const bool otherBook = !sameBook(*record, current);
    QStringList parts;
    if (otherCut)
        parts << QStringLiteral("длина блока была %1 знаков, теперь %2")
                     .arg(record->blockLimit)
                     .arg(current.blockLimit);
    if (otherBook)
        parts << QStringLiteral("текст книги другой");
    const Verdict verdict = otherCut && otherBook ? Verdict::OtherCutAndBook
                            : otherCut            ? Verdict::OtherCut
                            : otherBook           ? Verdict::OtherBook
                                                  : Verdict::Same;
    return {verdict, parts.join(QStringLiteral("; "))};
}

bool mayHoldAnotherBook(Verdict verdict)
{
    return verdict == Verdict::OtherBook || verdict == Verdict::OtherCutAndBook ||
           verdict == Verdict::Unreadable;
}

} // namespace cutrecord
