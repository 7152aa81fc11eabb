#pragma once

#include <QByteArray>
#include <QString>

// The one Windows-1251 codec of the program. Book files, word lists, bookmarks and
// replacement lists are all Windows-1251; nothing else converts text encodings.
namespace cp1251 {

// Byte 0x98 is unassigned in Windows-1251; it maps to U+0098 and back so that
// every byte survives a read and a write unchanged.
QChar toUnicode(unsigned char byte);

// The byte of a character; '?' for a character the code page lacks.
unsigned char fromUnicode(QChar ch);

QString decode(const QByteArray &bytes);
QByteArray encode(const QString &text);

// The character whose Windows-1251 byte value is `code` (0..255).
inline QChar chr(int code)
{
    return toUnicode(static_cast<unsigned char>(code));
}

} // namespace cp1251
