#include "platform/text/programfolder.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QHash>
#include <QLockFile>
#include <QSaveFile>
#include <QStandardPaths>

#include "platform/text/logging.h"

namespace programfolder {
namespace {

QString &cached()
{
    static QString folder;
    return folder;
}

ShippedUpdate &update()
{
    static ShippedUpdate told;
    return told;
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
    QStringList &problems = update().failures;
    if (!QDir().mkpath(folder)) {
        problems.append(problem(folder, cannotCreate()));
        return folder;
    }
    // Whichever folder it is, it follows the installed shipped files.
    const QString data = installedData();
    if (data.isEmpty()) {
        if (!QFileInfo(folder + QStringLiteral("/DIC")).isDir())
            problems.append(problem(folder, QStringLiteral("не найдены файлы, поставляемые с программой")));
    } else if (QDir(data).canonicalPath() != QDir(folder).canonicalPath()) {
        // Programs started together ("Open with" on several books) prepare it one after the
        // other; should the lock never come, each file is still replaced whole.
        QLockFile lock(folder + QStringLiteral("/.shipped.lock"));
        if (!lock.tryLock(60000))
            qCInfo(lcFiles).noquote() << "program folder" << folder << "prepared without its lock";
        update() = updateShipped(data, folder);
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

// Checksums by a file's path relative to the program folder, as sha256sum writes them.
using Checksums = QMultiHash<QString, QByteArray>;

QString recordName()
{
    return QStringLiteral("/.shipped.sha256");
}

QByteArray checksum(const QString &path)
{
    QFile file(path);
    QCryptographicHash hash(QCryptographicHash::Sha256);
    if (!file.open(QIODevice::ReadOnly) || !hash.addData(&file))
        return {};
    return hash.result().toHex();
}

Checksums readChecksums(const QString &path)
{
    Checksums sums;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return sums;
    while (!file.atEnd()) {
        const QByteArray line = file.readLine().trimmed();
        const qsizetype gap = line.indexOf("  ");
        if (gap > 0)
            sums.insert(QString::fromUtf8(line.mid(gap + 2)), line.left(gap));
    }
    return sums;
}

// Replaces `to` whole by a copy of `from`: a program that reads it meanwhile, or another
// that writes it too, never sees half a file. Returns the reason it failed, or nothing.
QString copyWhole(const QString &from, const QString &to)
{
    QFile in(from);
    if (!in.open(QIODevice::ReadOnly))
        return QStringLiteral("не удалось прочитать установленный файл");
    QSaveFile out(to);
    if (!out.open(QIODevice::WriteOnly) || out.write(in.readAll()) != in.size() || !out.commit())
        return QStringLiteral("не удалось записать файл");
    return {};
}

} // namespace

QString program(const QString &name)
{
    const QFileInfo own(file(name));
    if (own.isFile() && own.isExecutable())
        return own.filePath();
    return QStandardPaths::findExecutable(name);
}

ShippedUpdate updateShipped(const QString &from, const QString &to)
{
    ShippedUpdate result;
    const QDir source(from);
    const Checksums earlier = readChecksums(from + QStringLiteral("/earlier.sha256"));
    const Checksums before = readChecksums(to + recordName());
    Checksums record = before;
    const auto sync = [&](const QString &src) {
        const QString name = source.relativeFilePath(src);
        const QString dst = to + u'/' + name;
        const QByteArray shipped = checksum(src);
        const bool present = QFileInfo::exists(dst);
        const QByteArray mine = present ? checksum(dst) : QByteArray();
        if (present && mine == shipped) {
            record.replace(name, shipped);
            return;
        }
        // Unchanged by the user: what was copied last, or (before the record) any shipped version.
        const bool recorded = before.contains(name);
        if (present && recorded && before.value(name) == shipped)
            return; // the user's own version, already told of this one
        const bool unchanged =
            !present || (recorded ? before.value(name) == mine : earlier.contains(name, mine));
        const QString target = unchanged ? dst : dst + QStringLiteral(".new");
        const QString folder = QFileInfo(dst).absolutePath();
        if (!QDir().mkpath(folder)) {
            // Said once for the folder, not for each of its files.
            const QString said = problem(folder, cannotCreate());
            if (!result.failures.contains(said))
                result.failures.append(said);
            return;
        }
        if (const QString reason = copyWhole(src, target); !reason.isEmpty()) {
            result.failures.append(problem(target, reason));
            return;
        }
        if (!unchanged)
            result.newBeside.append(QDir::toNativeSeparators(target));
        record.replace(name, shipped);
    };
    for (const QString &entry : shippedEntries()) {
        const QString path = source.filePath(entry);
        if (QFileInfo(path).isFile())
            sync(path);
        QDirIterator it(path, QDir::Files | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
        while (it.hasNext())
            sync(it.next());
    }
    if (record != before) {
        QByteArray text;
        QStringList names = record.uniqueKeys();
        names.sort();
        for (const QString &name : names)
            text += record.value(name) + "  " + name.toUtf8() + '\n';
        QSaveFile file(to + recordName());
        if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size() || !file.commit())
            result.failures.append(problem(file.fileName(), QStringLiteral("не удалось записать файл")));
    }
    return result;
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
    return update().failures;
}

QStringList newShippedVersions()
{
    path();
    return update().newBeside;
}

void reset()
{
    cached().clear();
    update() = {};
}

} // namespace programfolder
