#include "platform/text/programfolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QStandardPaths>

namespace programfolder {
namespace {

QString &cached()
{
    static QString folder;
    return folder;
}

// Copies the shipped data into a fresh user folder, leaving files the user already has.
void seed(const QString &from, const QString &to)
{
    QDirIterator it(from, QDir::Files | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString src = it.next();
        const QString dst = to + QDir(from).relativeFilePath(src).prepend(u'/');
        if (QFileInfo::exists(dst))
            continue;
        QDir().mkpath(QFileInfo(dst).absolutePath());
        QFile::copy(src, dst);
    }
}

QString installedData()
{
    const QString exe = QCoreApplication::applicationDirPath();
    for (const QString &candidate : {exe + QStringLiteral("/../share/quenvale"), exe + QStringLiteral("/data")}) {
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
    QDir().mkpath(user);
    const QString data = installedData();
    if (!data.isEmpty())
        seed(data, user);
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

void reset()
{
    cached().clear();
}

} // namespace programfolder
