#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <optional>

// What an overnight batch leaves in the working folder before it powers the machine off: which
// books were recorded and which were not, and why. The next start tells it once.
namespace batchreport {

// The report's file in `workFolder`; not a ".txt", so no batch takes it for a book.
QString path(const QString &workFolder);
// Where a report goes once the user has been told of it.
QString toldPath(const QString &workFolder);

// The report's text: when the batch ended, then a line per book.
QString text(const QDateTime &ended, const QStringList &books);

// Writes the report of a batch that ended now; false, with the system's reason, when it cannot.
bool write(const QString &workFolder, const QStringList &books, QString *error = nullptr);

// The message for a report not told yet, which from then on is kept under toldPath; nothing
// when there is none.
std::optional<QString> takeUntold(const QString &workFolder);

} // namespace batchreport
