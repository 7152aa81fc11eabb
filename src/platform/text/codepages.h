#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

// The other single-byte code pages Russian books come in, with fixed tables as the
// Windows-1251 codec has; every byte maps to one character and back. ISO-8859-5 and IBM855
// are only read to recognise a book in them, which the program refuses.
namespace codepages {

enum class CodePage
{
    Koi8r,
    Cp866,
    Iso88595,
    Ibm855,
};

QString decode(QByteArrayView bytes, CodePage page);
// A character the code page lacks becomes "?".
QByteArray encode(const QString &text, CodePage page);
bool holds(QChar ch, CodePage page);

} // namespace codepages
