#pragma once

#include "platform/text/textfile.h"

#include <QByteArray>
#include <QListWidget>
#include <QStringList>
#include <QTreeWidget>

// What a test reads back from list widgets and files, in one form for every window's tests.
namespace listing {

inline QStringList rows(const QListWidget &list)
{
    QStringList out;
    for (int i = 0; i < list.count(); ++i)
        out.append(list.item(i)->text());
    return out;
}

inline QStringList column(const QTreeWidget &tree, int column = 0)
{
    QStringList out;
    for (int i = 0; i < tree.topLevelItemCount(); ++i)
        out.append(tree.topLevelItem(i)->text(column));
    return out;
}

// The file's bytes, or "<missing>" when it cannot be read.
inline QByteArray bytes(const QString &path)
{
    return textfile::readBytes(path).value_or(QByteArrayLiteral("<missing>"));
}

// The file's lines, or none when it cannot be read.
inline QStringList lines(const QString &path)
{
    return textfile::readLines(path).value_or(QStringList());
}

} // namespace listing
