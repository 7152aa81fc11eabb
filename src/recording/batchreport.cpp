#include "recording/batchreport.h"

#include "platform/text/textcodec.h"
#include "platform/text/textfile.h"

#include <QDir>
#include <QFile>

namespace batchreport {

QString path(const QString &workFolder)
{
    return QDir(workFolder).filePath(QStringLiteral("Отчёт пакетной записи.log"));
}

QString toldPath(const QString &workFolder)
{
    return QDir(workFolder).filePath(QStringLiteral("Отчёт пакетной записи (прочитан).log"));
}

QString text(const QDateTime &ended, const QStringList &books)
{
    // A reason may run over lines of its own (a file and why): every line ends as the file's do.
    QString lines = books.join(u'\n');
    lines.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\n', QStringLiteral("\r\n"));
    return QStringLiteral("Пакетная запись окончена %1, компьютер выключен.\r\n")
               .arg(ended.toString(QStringLiteral("dd.MM.yyyy hh:mm"))) +
           lines;
}

bool write(const QString &workFolder, const QStringList &books, QString *error)
{
    // UTF-8, as text editors on Linux expect; its mark lets the program's readers know it too.
    return textfile::writeLines(path(workFolder), {text(QDateTime::currentDateTime(), books)},
                                textcodec::Encoding::Utf8WithBom, error);
}

std::optional<QString> takeUntold(const QString &workFolder)
{
    const QString report = path(workFolder);
    if (workFolder.isEmpty() || !QFile::exists(report))
        return std::nullopt;
    const QString text = textfile::readText(report).value_or(QString()).trimmed();
    // Told once: the next start keeps quiet, and the file stays for the user.
    QFile::remove(toldPath(workFolder));
    const QString kept = QFile::rename(report, toldPath(workFolder)) ? toldPath(workFolder) : report;
    return QStringLiteral("Отчёт пакетной записи, которая выключила компьютер (файл %1):\n%2")
        .arg(QDir::toNativeSeparators(kept), text);
}

} // namespace batchreport
