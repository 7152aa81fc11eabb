#include "recording/encoderprocess.h"

#include "platform/text/programfolder.h"
#include "recording/logging.h"

#include <QFile>
#include <QFileInfo>
#include <QPointer>
#include <QProcess>
#include <QRegularExpression>
#include <QStorageInfo>

#include <utility>

Q_LOGGING_CATEGORY(lcEncoder, "quenvale.encoder", QtWarningMsg)

namespace encoderprocess {

namespace {

// The encoder running now.
QPointer<Run> &current()
{
    static QPointer<Run> run;
    return run;
}

// An output folder with less room than this after a failed write has run out of space.
constexpr qint64 kNoSpaceBelow = 1 << 20;

bool noSpaceLeft(const QString &output)
{
    if (output.isEmpty())
        return false;
    const QStorageInfo disk(QFileInfo(output).absolutePath());
    return disk.isValid() && disk.bytesAvailable() < kNoSpaceBelow;
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
    return programfolder::program(name);
}

QString errorLine(const QString &errors, const QString &output)
{
    // Progress figures ("128.0", "(100%)|", "0:00/") before the words: two or more, or one set
    // off by a column's blanks or a fraction run straight into them. A count before a single
    // blank ("3 frames") belongs to the words.
    static const QString figure = QStringLiteral(R"([\d.,:/%|()]*\d[\d.,:/%|()]*)");
    static const QRegularExpression figures(
        QStringLiteral(R"(^(?:(?:%1\s+)+%1\s*|%1\s{2,}|\d*[.,]\d+)(?=\p{L}))").arg(figure));
    for (const QString &text : {errors, output}) {
        const QStringList lines =
            text.split(QRegularExpression(QStringLiteral("[\r\n]")), Qt::SkipEmptyParts);
        for (auto it = lines.crbegin(); it != lines.crend(); ++it)
            if (!it->trimmed().isEmpty())
                return it->trimmed().remove(figures);
    }
    return {};
}

Run::Run(const encoders::Step &step, std::function<void(const QString &)> echo, QObject *parent)
    : JobStep(parent), m_step(step), m_echo(std::move(echo))
{
    QStringList arguments = step.arguments;
    if (step.outputArgument >= 0 && step.outputArgument < arguments.size()) {
        m_partial = encoders::temporaryName(step.output);
        arguments[step.outputArgument].replace(step.output, m_partial);
        QFile::remove(m_partial); // a leftover of an earlier run
    }

    const QString program = locate(step.program);
    say(commandLine(program.isEmpty() ? step.program : program, arguments) + QLatin1Char('\n'));
    if (program.isEmpty()) {
        qCInfo(lcEncoder) << "not found:" << step.program;
        end(false,
            QStringLiteral("программа %1 не найдена ни в папке программы, ни в PATH").arg(step.program));
        return;
    }
    qCInfo(lcEncoder).noquote() << commandLine(program, arguments);

    m_process = new QProcess(this);
    m_process->setProgram(program);
    m_process->setArguments(arguments);
    m_process->setProcessEnvironment(utf8Environment());
    connect(m_process, &QProcess::readyReadStandardOutput, this, [this] {
        const QString text = m_outputFilter.feed(QString::fromLocal8Bit(m_process->readAllStandardOutput()));
        m_output += text;
        say(text);
    });
    connect(m_process, &QProcess::readyReadStandardError, this, [this] {
        const QString text = m_errorFilter.feed(QString::fromLocal8Bit(m_process->readAllStandardError()));
        m_errors += text;
        say(text);
    });
    connect(m_process, &QProcess::finished, this, &Run::exited);
    m_process->start();
    if (!m_process->waitForStarted(-1)) {
        qCInfo(lcEncoder) << "cannot start:" << program << m_process->errorString();
        end(false, m_process->errorString());
        return;
    }
    // Encoders that look at their input (ffmpeg) must never wait for us.
    m_process->closeWriteChannel();
    current() = this;
}

Run::~Run()
{
    abort();
}

void Run::say(const QString &text)
{
    if (m_echo)
        m_echo(text);
}

void Run::abort()
{
    if (!m_process || m_process->state() == QProcess::NotRunning)
        return;
    m_aborted = true;
    m_process->kill();
    // The exit comes within this wait: the partial output is gone when it returns.
    m_process->waitForFinished(-1);
}

void Run::exited()
{
    if (current() == this)
        current() = nullptr;
    m_output += m_outputFilter.feed(QString::fromLocal8Bit(m_process->readAllStandardOutput()));
    m_errors += m_errorFilter.feed(QString::fromLocal8Bit(m_process->readAllStandardError()));
    if (!m_errors.isEmpty())
        qCInfo(lcEncoder).noquote() << m_errors;
    if (m_aborted)
        return fail(QStringLiteral("прервано"));
    if (m_process->exitStatus() != QProcess::NormalExit || m_process->exitCode() != 0) {
        const QString line = errorLine(m_errors, m_output);
        if (!line.isEmpty())
            return fail(line);
        return fail(m_process->exitStatus() != QProcess::NormalExit
                        ? QStringLiteral("аварийное завершение")
                        : QStringLiteral("код завершения %1").arg(m_process->exitCode()));
    }
    if (m_partial.isEmpty())
        return end(true);
    if (QFileInfo(m_partial).size() <= 0)
        return fail(QStringLiteral("выходной файл %1 не создан").arg(m_step.output));
    QString reason;
    if (!putInPlace(m_partial, m_step.output, &reason))
        return fail(reason);
    end(true);
}

void Run::fail(QString why)
{
    // Measured before the partial output goes, which frees what it took.
    if (!m_aborted && noSpaceLeft(m_step.output))
        why += QStringLiteral(" (нет места на диске)");
    QFile::remove(m_partial);
    qCInfo(lcEncoder).noquote() << m_step.program << "failed:" << why;
    // The temporary name is gone: an encoder's complaint about it is about the block's file.
    if (!m_partial.isEmpty())
        why.replace(m_partial, m_step.output);
    end(false, why);
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
    return !current().isNull();
}

void abortRunning()
{
    if (Run *run = current())
        run->abort();
}

} // namespace encoderprocess
