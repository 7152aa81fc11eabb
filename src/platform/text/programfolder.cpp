#include "platform/text/programfolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QStandardPaths>

#include "platform/text/logging.h"

namespace programfolder {
namespace {

QString &cached()
{
    static QString folder;
    return folder;
}

QStringList &problems()
{
    static QStringList list;
    return list;
}

QString problem(const QString &path, const QString &reason)
{
    qCInfo(lcFiles).noquote() << "program folder:" << path << reason;
    return QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(path), reason);
}

// What the program ships, at the top of a data folder.
const QStringList &shippedEntries()
{
    static const QStringList entries = {QStringLiteral("DIC"), QStringLiteral("HELP"),
                                        QStringLiteral("ENGINE"), QStringLiteral("end.wav")};
    return entries;
}

QString installedData()
{
    // Installed (share/quenvale), unpacked beside the executable (data/), or a build tree or
    // portable copy that holds the files itself.
    const QString exe = QCoreApplication::applicationDirPath();
    for (const QString &candidate :
         {exe + QStringLiteral("/../share/quenvale"), exe + QStringLiteral("/data"), exe}) {
        if (QFileInfo(candidate + QStringLiteral("/DIC")).isDir())
            return QDir(candidate).absolutePath();
    }
    return {};
}

QString cannotCreate()
{
    return QStringLiteral("не удалось создать папку");
}

QString choose()
{
    const QString env = qEnvironmentVariable("QUENVALE_HOME");
    if (!env.isEmpty())
        return QDir(env).absolutePath();
    const QString exe = QCoreApplication::applicationDirPath();
    const QFileInfo dic(exe + QStringLiteral("/DIC"));
    if (dic.isDir() && QFileInfo(exe).isWritable())
        return exe;
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
}

QString resolve()
{
    const QString folder = choose();
    if (!QDir().mkpath(folder)) {
        problems().append(problem(folder, cannotCreate()));
        return folder;
    }
    // Whichever folder it is, what it lacks of the shipped files is filled in.
    const QString data = installedData();
    if (data.isEmpty()) {
        if (!QFileInfo(folder + QStringLiteral("/DIC")).isDir())
            problems().append(problem(folder, QStringLiteral("не найдены файлы, поставляемые с программой")));
    } else if (QDir(data).canonicalPath() != QDir(folder).canonicalPath()) {
        problems().append(copyMissing(data, folder));
    }
    return folder;
}

// The entry of `dir` named `name` ignoring case, or `name` itself.
QString matchEntry(const QDir &dir, const QString &name)
{
    if (dir.exists(name))
        return name;
    const QStringList entries = dir.entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
    for (const QString &e : entries)
        if (e.compare(name, Qt::CaseInsensitive) == 0)
            return e;
    return name;
}

} // namespace

QString program(const QString &name)
{
    const QFileInfo own(file(name));
    if (own.isFile() && own.isExecutable())
        return own.filePath();
    return QStandardPaths::findExecutable(name);
}

QStringList copyMissing(const QString &from, const QString &to)
{
    QStringList failures;
    const QDir source(from);
    const auto copy = [&](const QString &src) {
        const QString dst = to + u'/' + source.relativeFilePath(src);
        if (QFileInfo::exists(dst))
            return;
        const QString folder = QFileInfo(dst).absolutePath();
        if (!QDir().mkpath(folder)) {
            // Said once for the folder, not for each of its files.
            const QString said = problem(folder, cannotCreate());
            if (!failures.contains(said))
                failures.append(said);
            return;
        }
        QFile file(src);
        if (!file.copy(dst))
            failures.append(problem(dst, file.errorString()));
    };
    for (const QString &entry : shippedEntries()) {
        const QString path = source.filePath(entry);
        if (QFileInfo(path).isFile())
            copy(path);
        QDirIterator it(path, QDir::Files | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
        while (it.hasNext())
            copy(it.next());
    }
    return failures;
}

QString path()
{
    QString &folder = cached();
    if (folder.isEmpty())
        folder = resolve();
    return folder;
}

QString file(const QString &relative)
{
    QString current = path();
    const QStringList parts = relative.split(u'/', Qt::SkipEmptyParts);
    for (const QString &part : parts)
        current += u'/' + matchEntry(QDir(current), part);
    return current;
}

QStringList setupProblems()
{
    path();
    return problems();
}

void reset()
{
    cached().clear();
    problems().clear();
}

} // namespace programfolder
