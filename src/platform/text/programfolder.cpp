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

QString installedData()
{
    const QString exe = QCoreApplication::applicationDirPath();
    for (const QString &candidate :
         {exe + QStringLiteral("/../share/quenvale"), exe + QStringLiteral("/data")}) {
        if (QFileInfo(candidate + QStringLiteral("/DIC")).isDir())
            return QDir(candidate).absolutePath();
    }
    return {};
}

QString resolve()
{
    const QString env = qEnvironmentVariable("QUENVALE_HOME");
    if (!env.isEmpty()) {
        QDir().mkpath(env);
        return QDir(env).absolutePath();
    }
    const QString exe = QCoreApplication::applicationDirPath();
    const QFileInfo dic(exe + QStringLiteral("/DIC"));
    if (dic.isDir() && QFileInfo(exe).isWritable())
        return exe;
    const QString user = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    if (!QDir().mkpath(user))
        problems().append(problem(user, QStringLiteral("cannot create the folder")));
    const QString data = installedData();
    if (!data.isEmpty())
        problems().append(copyMissing(data, user));
    return user;
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

QStringList copyMissing(const QString &from, const QString &to)
{
    QStringList failures;
    QDirIterator it(from, QDir::Files | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString src = it.next();
        const QString dst = to + QDir(from).relativeFilePath(src).prepend(u'/');
        if (QFileInfo::exists(dst))
            continue;
        const QString folder = QFileInfo(dst).absolutePath();
        if (!QDir().mkpath(folder)) {
            failures.append(problem(folder, QStringLiteral("cannot create the folder")));
            continue;
        }
        QFile file(src);
        if (!file.copy(dst))
            failures.append(problem(dst, file.errorString()));
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
