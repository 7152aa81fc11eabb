#include "platform/books/lines.h"
#include "platform/books/readers.h"

#include "platform/text/programfolder.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>

namespace books {

namespace {

// catdoc's longest run on a book before it is taken for hung.
constexpr int kTimeoutMs = 120'000;

QString lastLine(const QByteArray &output)
{
    const QStringList lines = QString::fromUtf8(output).trimmed().split(u'\n');
    return lines.isEmpty() ? QString() : lines.back().trimmed();
}

} // namespace

// Word 97-2003 through Debian's catdoc, started with an argument list as the encoders are. It
// runs to its end here: read() may take its time, and its callers keep it off the window's
// thread; the progress callback can stop it all the same.
Reading readDoc(const QString &path, const Progress &progress)
{
    Reading reading;
    const QString catdoc = programfolder::program(QStringLiteral("catdoc"));
    if (catdoc.isEmpty()) {
        reading.message =
            QStringLiteral("Книга %1 в формате Word 97–2003 (DOC) читается программой catdoc, а её "
                           "нет ни в папке программы, ни в PATH. Установите пакет catdoc.")
                .arg(quoted(path));
        return reading;
    }
    QProcess process;
    // -w: a paragraph is one line; -d utf-8: the text in UTF-8, whatever the book's code page.
    process.start(catdoc, {QStringLiteral("-w"), QStringLiteral("-d"), QStringLiteral("utf-8"),
                           QFileInfo(path).absoluteFilePath()});
    QElapsedTimer clock;
    clock.start();
    while (!process.waitForFinished(100)) {
        const bool cancelled = progress && !progress(0);
        if (cancelled || process.state() == QProcess::NotRunning || clock.elapsed() > kTimeoutMs) {
            const bool timedOut = process.state() != QProcess::NotRunning && !cancelled;
            process.kill();
            process.waitForFinished();
            if (cancelled)
                return {};
            reading.message = QStringLiteral("catdoc не смог прочитать книгу %1: %2")
                                  .arg(quoted(path), timedOut ? QStringLiteral("не ответил за две минуты")
                                                              : process.errorString());
            return reading;
        }
    }
    const QByteArray output = process.readAllStandardOutput();
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        const QString why = lastLine(process.readAllStandardError());
        reading.message =
            QStringLiteral("catdoc не смог прочитать книгу %1: %2")
                .arg(quoted(path), why.isEmpty() ? QStringLiteral("ошибка %1").arg(process.exitCode()) : why);
        return reading;
    }
    // What a page's head or foot shows as a field code ("PAGE 23") is no text of the book.
    static const QRegularExpression field(QStringLiteral(R"(^\s*(PAGE|NUMPAGES|SECTIONPAGES)\s+\d*\s*$)"));
    Lines lines;
    for (const QString &line : textcodec::decode(output, textcodec::Encoding::Utf8).split(u'\n')) {
        if (field.match(line).hasMatch())
            continue;
        QString text = line;
        text.remove(u'\f').remove(u'\r');
        lines.addExact(text);
        lines.endLine();
    }
    if (progress && !progress(1000))
        return {};
    reading.text = lines.text();
    reading.ok = true;
    return reading;
}

} // namespace books
