#pragma once

#include <QList>
#include <QString>

// The markup the program puts into spoken text, read by our own forgiving parser:
// <volume level="N">, <rate absspeed="N">, <pitch absmiddle="N">, their closing tags
// and <silence msec="N"/>. Anything else is text, read as a listener hears a book
// (platform/text/words.h): entities are their characters and any other tag is silent.
namespace speech {

struct Prosody
{
    int volume = 100; // 0..100
    int rate = 0;     // -10..10
    int pitch = 0;    // -10..10

    bool operator==(const Prosody &) const = default;
};

// A run of text spoken with one prosody, or a pause (empty text, silenceMs > 0).
struct Segment
{
    QString text;
    Prosody prosody;
    int silenceMs = 0;
    // Positions in `text` of Russian vowels marked as stressed by a "<" or ">" right after
    // them; the marks themselves are not part of the text.
    QList<int> stresses;

    bool isSilence() const { return text.isEmpty(); }
    bool operator==(const Segment &) const = default;
};

// The longest pause a silence tag gives; the program's own pauses are far shorter, so
// only a tag from a book's text is cut to it.
inline constexpr int kMaxSilenceMs = 60'000;

// Text with markup into segments. Never fails: other tags (ours with a value in single quotes
// among them) are silent, stray "<", ">" and "&" stay text; tags left open simply last to the end.
QList<Segment> parseMarkup(const QString &text);

// Text without markup: one segment with the default prosody, read as a listener hears a book
// (stress marks removed, tags silent), or none when the text holds nothing to say.
QList<Segment> parsePlain(const QString &text);

// Whether a text given without the markup flag is to be read as markup: it starts,
// after blanks, with "<".
bool looksLikeMarkup(const QString &text);

} // namespace speech
