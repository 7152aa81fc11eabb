#pragma once

// A literal, unoptimised rendering of the block preparation: every replacement is its own
// pass and the tagging rebuilds the text at each insertion. Tests compare the real
// preparation against it; it is far too slow for whole books in the program.

#include "platform/text/cp1251.h"
#include "platform/text/textfile.h"
#include "recording/casecorrection.h"
#include "recording/textprep.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <vector>

namespace reference {

// Left to right, no overlap, inserted text not searched again; Qt's case folding equals
// pairing each Windows-1251 letter with its other case.
inline QString replaceAll(const QString &text, const QString &pattern, const QString &with,
                          Qt::CaseSensitivity cs = Qt::CaseInsensitive)
{
    QString out;
    qsizetype pos = 0;
    for (qsizetype hit; (hit = text.indexOf(pattern, pos, cs)) >= 0; pos = hit + pattern.size()) {
        out += QStringView(text).sliced(pos, hit - pos);
        out += with;
    }
    out += QStringView(text).sliced(pos);
    return out;
}

inline QString chr(int code)
{
    return QString(cp1251::chr(code));
}

inline QString joinSpacedLetters(QString t)
{
    t = replaceAll(t, u"г л а в а"_qs, u"глава"_qs);
    t = replaceAll(t, u"ч а с т ь"_qs, u"часть"_qs);
    t = replaceAll(t, u"к н и г а"_qs, u"книга"_qs);
    for (QChar letter : u"гдеёзйлмнпртфхцчшщыъью"_qs)
        t = replaceAll(t, u' ' + QString(letter) + u' ', QString(letter));
    return t;
}

inline QString normalizeChars(QString t)
{
    t = replaceAll(t, chr(160), u" "_qs);
    t = replaceAll(t, chr(150), u"-"_qs);
    t = replaceAll(t, u"~"_qs, u"-"_qs);
    t = replaceAll(t, chr(151), u"-"_qs);
    t = replaceAll(t, chr(152), u"Ш"_qs);
    t = replaceAll(t, u"--"_qs, u"-"_qs);
    t = replaceAll(t, u"^"_qs, QString());
    return replaceAll(t, chr(133), u" . "_qs);
}

inline QString fixDigits(QString t)
{
    for (QChar d : u"1234567890"_qs)
        t = replaceAll(t, u'-' + QString(d), u' ' + QString(d));
    for (QChar d : u"0123456789"_qs)
        t = replaceAll(t, QString(d) + u' ', QString(d) + u"- "_qs);
    return t;
}

// Everything the preparation does before the tagging.
inline QString prepareForTagging(QString t)
{
    t = replaceAll(t, u"\t"_qs, u" "_qs);
    t = replaceAll(t, u" -"_qs, u" - "_qs);
    qsizetype lead = 0;
    while (lead < t.size() && t[lead] == u' ')
        ++lead;
    t.remove(0, lead);
    t = replaceAll(t, u"-\r\n"_qs, QString());
    t = replaceAll(t, u":\r\n"_qs, u".\r\n"_qs);
    t = replaceAll(t, u";\r\n"_qs, u".\r\n"_qs);
    t = joinSpacedLetters(t);
    t = normalizeChars(t);
    t = fixDigits(t);
    t = replaceAll(t, u"_"_qs, QString());
    for (int code : {34, 132, 147, 148, 171, 187})
        t = replaceAll(t, chr(code), u" "_qs);
    for (QString b : {u"("_qs, u"["_qs, u"{"_qs})
        t = replaceAll(t, b, b + u' ');
    for (QString b : {u")"_qs, u"]"_qs, u"}"_qs})
        t = replaceAll(t, b, u' ' + b);
    for (QString p : {u","_qs, u"."_qs, u"!"_qs, u"?"_qs, u":"_qs, u";"_qs})
        t = replaceAll(t, p, u' ' + p + u' ');
    t = u"\r\n "_qs + t;
    t = replaceAll(t, u"  "_qs, u" "_qs);
    return replaceAll(t, u"  "_qs, u" "_qs);
}

inline bool isCapital(QStringView s)
{
    return s.size() == 1 && s[0].unicode() >= 0x0410 && s[0].unicode() <= 0x042F;
}

// The literal scan: every insertion rebuilds the text; the length is read at every position.
inline QString tagDialogs(QString t, const PrepSettings &settings, DialogState &state)
{
    const QString pause = pauseElement(settings.paragraphPause);
    const QStringList openers = {u", - "_qs, u". - "_qs, u": - "_qs, u"; - "_qs, u"! - "_qs, u"? - "_qs};
    for (qsizetype pos = 0; pos < t.size() - 1; ++pos) {
        auto mid = [&t](qsizetype from, qsizetype n) { return QStringView(t).mid(from, n); };
        if (mid(pos, 4) == u"\r\n\r\n") {
            state = DialogState{};
            t.replace(pos, 2, pause);
        }
        if (mid(pos, 3) == u"\r\n " && (isCapital(mid(pos + 3, 1)) || isCapital(mid(pos + 4, 1)))) {
            state = DialogState{};
            t.replace(pos, 2, pause + settings.narration);
        }
        if (mid(pos, 4) == u"\r\n -" || mid(pos, 5) == u"\r\n  -" || mid(pos, 6) == u"\r\n   -" ||
            mid(pos, 7) == u"\r\n    -") {
            state = DialogState{true, false};
            t.replace(pos, 2, pause + settings.dialog);
        }
        for (const QString &opener : openers) {
            if (mid(pos, 4) == opener && state.inComment && !state.inDialog) {
                t.insert(pos + 1, settings.dialog2);
                state = DialogState{true, false};
            }
        }
        for (const QString &opener : openers) {
            if (mid(pos, 4) == opener && !state.inComment && state.inDialog) {
                t.insert(pos + 1, settings.comment);
                state = DialogState{false, true};
            }
        }
    }
    return t;
}

inline QString analizText(const QString &text, const PrepSettings &settings, DialogState &state)
{
    QString t = tagDialogs(prepareForTagging(text), settings, state);
    t = replaceAll(t, u". . ."_qs, pauseElement(settings.ellipsisPause));
    const QString pause = u"  <silence msec=\"%1\"/>"_qs.arg(settings.questionPause);
    t = replaceAll(t, u"?"_qs, u" ?"_qs + pause);
    return replaceAll(t, u"!"_qs, u" !"_qs + pause);
}

// Blocks cut from a book file the way the conversion driver gathers them. `indent` goes in
// front of every line: the corpus books start their replies with a dash at the very line
// start, which is never tagged, while many books indent every line by a blank.
inline std::vector<QString> driverBlocks(const QString &path, std::int32_t limit, const QString &indent = {})
{
    std::vector<QString> blocks;
    const auto text = textfile::readText(path);
    if (!text)
        return blocks;
    QString block = u"\r\n"_qs;
    for (QString line : textfile::splitLines(*text)) {
        if (line.contains(u"@@@@@")) {
            blocks.push_back(block);
            block = u"\r\n"_qs;
            continue;
        }
        for (int code : {34, 132, 147, 148, 171, 187})
            line.replace(cp1251::chr(code), u' ');
        line = CorrectCase(indent + line);
        block += u"\r\n"_qs + line;
        const bool sentenceEnd = line.endsWith(u'.') || line.endsWith(u'!') || line.endsWith(u'?') ||
                                 line.endsWith(u". ") || line.endsWith(u"! ") || line.endsWith(u"? ") ||
                                 line.isEmpty() || line == u" " || line == u"  ";
        if (block.size() > limit && sentenceEnd) {
            blocks.push_back(block);
            block = u"\r\n"_qs;
        }
    }
    blocks.push_back(block);
    return blocks;
}

// Short stand-ins for the prosody tags keep expected texts readable.
inline PrepSettings markerSettings()
{
    return {500, 300, 800, u"<TN>"_qs, u"<TD>"_qs, u"<TC>"_qs, u"<TD2>"_qs};
}

} // namespace reference

inline bool operator==(DialogState a, DialogState b)
{
    return a.inDialog == b.inDialog && a.inComment == b.inComment;
}
