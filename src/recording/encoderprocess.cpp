#include "recording/encoderprocess.h"

#include "platform/text/programfolder.h"
#include "recording/logging.h"

#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QPointer>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>

#include <utility>

Q_LOGGING_CATEGORY(lcEncoder, "quenvale.encoder", QtWarningMsg)

namespace encoderprocess {

namespace {

struct Running
{
    QPointer<QProcess> process;
    QString partial;
    bool aborted = false;
};

Running &current()
{
    static Running r;
    return r;
}

// The last line that says something, of the error output or else of the normal output.
QString lastLine(const QString &errors, const QString &output)
{
    for (const QString &text : {errors, output}) {
        const QStringList lines =
            text.split(QRegularExpression(QStringLiteral("[\r\n]")), Qt::SkipEmptyParts);
        for (auto it = lines.crbegin(); it != lines.crend(); ++it)
            if (!it->trimmed().isEmpty())
                return it->trimmed();
    }
    return {};
}

QString commandLine(const QString &program, const QStringList &arguments)
{
    QStringList quoted{program};
    for (const QString &a : arguments)
        quoted << (a.isEmpty() || a.contains(QLatin1Char(' ')) ? QLatin1Char('"') + a + QLatin1Char('"') : a);
    return quoted.join(QLatin1Char(' '));
}

// The arguments go out as UTF-8 (titles, tags, paths), and lame reads its tag texts in the
// character set of its locale: under a C or missing locale it drops every Cyrillic tag. The
// encoders therefore always run with a UTF-8 character type; the rest of the locale stays.
QProcessEnvironment utf8Environment()
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    const QString utf8 = QStringLiteral("C.UTF-8");
    if (env.contains(QStringLiteral("LC_ALL")))
        env.insert(QStringLiteral("LC_ALL"), utf8);
    else
        env.insert(QStringLiteral("LC_CTYPE"), utf8);
    return env;
}

} // namespace

QString TerminalFilter::feed(const QString &piece)
{
    const QString text = std::exchange(m_held, QString()) + piece;
    QString out;
    out.reserve(text.size());
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = text[i].unicode();
        if (c == u'\x1b') {
            qsizetype end = i + 1; // index of the sequence's last character
            if (end < n && text[end] == u'[') {
                // CSI: parameters and intermediates up to a final byte 0x40..0x7E.
                while (++end < n && !(text[end] >= u'@' && text[end] <= u'~'))
                    ;
            } else if (end < n && text[end] == u']') {
                // OSC: up to BEL or ESC backslash.
                while (++end < n && text[end] != u'\a' && !(text[end] == u'\\' && text[end - 1] == u'\x1b'))
                    ;
            }
            if (end >= n) {
                m_held = text.mid(i);
                break;
            }
            i = end;
        } else if ((c < 0x20 && c != u'\t' && c != u'\n' && c != u'\r') || c == 0x7f) {
            continue;
        } else {
            out += text[i];
        }
    }
    return out;
}

QString locate(const QString &name)
{
    const QFileInfo own(programfolder::file(name));
    if (own.isFile() && own.isExecutable())
        return own.filePath();
    return QStandardPaths::findExecutable(name);
}

Result run(const encoders::Step &step, const std::function<void(const QString &)> &echo)
{
    auto say = [&](const QString &text) {
        if (echo)
            echo(text);
    };
    QStringList arguments = step.arguments;
    QString partial;
    if (step.outputArgument >= 0 && step.outputArgument < arguments.size()) {
        partial = encoders::temporaryName(step.output);
        arguments[step.outputArgument].replace(step.output, partial);
        QFile::remove(partial); // a leftover of an earlier run
    }

    const QString program = locate(step.program);
    say(commandLine(program.isEmpty() ? step.program : program, arguments) + QLatin1Char('\n'));
    if (program.isEmpty()) {
        qCInfo(lcEncoder) << "not found:" << step.program;
        return {false, false,
                QStringLiteral("программа %1 не найдена ни в папке программы, ни в PATH").arg(step.program)};
    }
    qCInfo(lcEncoder).noquote() << commandLine(program, arguments);

    QProcess process;
    process.setProgram(program);
    process.setArguments(arguments);
    process.setProcessEnvironment(utf8Environment());
    QString output;
    QString errors;
    TerminalFilter outputFilter;
    TerminalFilter errorFilter;
    QObject::connect(&process, &QProcess::readyReadStandardOutput, [&] {
        const QString text = outputFilter.feed(QString::fromLocal8Bit(process.readAllStandardOutput()));
        output += text;
        say(text);
    });
    QObject::connect(&process, &QProcess::readyReadStandardError, [&] {
        const QString text = errorFilter.feed(QString::fromLocal8Bit(process.readAllStandardError()));
        errors += text;
        say(text);
    });
    QEventLoop loop;
    QObject::connect(&process, &QProcess::finished, &loop, &QEventLoop::quit);

    current() = {&process, partial, false};
    process.start();
    if (!process.waitForStarted(-1)) {
        current() = {};
        qCInfo(lcEncoder) << "cannot start:" << program << process.errorString();
        return {false, false, process.errorString()};
    }
    // Encoders that look at their input (ffmpeg) must never wait for us.
    process.closeWriteChannel();
    // The window stays usable: the loop sleeps until the encoder says something or ends.
    if (process.state() != QProcess::NotRunning)
        loop.exec();
    // Only the program's exit leaves the loop before the encoder ends: end it too.
    if (process.state() != QProcess::NotRunning)
        abortRunning();
    output += outputFilter.feed(QString::fromLocal8Bit(process.readAllStandardOutput()));
    errors += errorFilter.feed(QString::fromLocal8Bit(process.readAllStandardError()));
    const bool aborted = current().aborted;
    current() = {};
    if (!errors.isEmpty())
        qCInfo(lcEncoder).noquote() << errors;

    auto fail = [&](QString why) {
        QFile::remove(partial);
        qCInfo(lcEncoder).noquote() << step.program << "failed:" << why;
        // The temporary name is gone: an encoder's complaint about it is about the block's file.
        if (!partial.isEmpty())
            why.replace(partial, step.output);
        return Result{false, aborted, why};
    };
    if (aborted)
        return fail(QStringLiteral("прервано"));
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        const QString line = lastLine(errors, output);
        if (!line.isEmpty())
            return fail(line);
        return fail(process.exitStatus() != QProcess::NormalExit
                        ? QStringLiteral("аварийное завершение")
                        : QStringLiteral("код завершения %1").arg(process.exitCode()));
    }
    if (partial.isEmpty())
        return {true, false, {}};
    if (QFileInfo(partial).size() <= 0)
        return fail(QStringLiteral("выходной файл %1 не создан").arg(step.output));
    QString reason;
    if (!putInPlace(partial, step.output, &reason))
        return fail(reason);
    return {true, false, {}};
}

bool putInPlace(const QString &made, const QString &final, QString *error)
{
    QFile::remove(final);
    QFile file(made);
    if (file.rename(final))
        return true;
    if (error)
        *error = file.errorString();
    return false;
}

bool running()
{
    return !current().process.isNull();
}

void abortRunning()
{
    Running &r = current();
    if (!r.process)
        return;
    r.aborted = true;
    r.process->kill();
    r.process->waitForFinished(-1);
    QFile::remove(r.partial);
}

} // namespace encoderprocess
