#pragma once

#include "platform/speech/markup.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

// eSpeak NG ignores stress marks in text, so a word with a marked vowel is spoken through
// the engine's phoneme input ("[[...]]") with its one primary stress moved to that vowel.
namespace speech {

// Whether an eSpeak phoneme name (ASCII, stress marks allowed in front) is a vowel that
// stands for a vowel letter: the inserted schwa "@-" and the soft-sign "I^" do not.
bool isVowelPhoneme(const QString &name);

// The word's phonemes (one name each) with the one primary stress before its `vowel`-th
// vowel (0-based), which takes the stressed sound of `letter`; the former stressed "o"
// becomes the reduced "V". Nothing when the word has fewer vowels.
std::optional<QString> stressPhonemes(const QStringList &phonemes, int vowel, QChar letter);

struct EngineText
{
    QString text;
    bool phonemes = false; // holds "[[...]]": synthesise with phoneme input on
};

// Gives the phoneme names of one word (empty when it has none).
using Phonemizer = std::function<QStringList(const QString &word)>;

// The segment's text as sent to the engine: each Russian word with a marked vowel becomes
// "[[phonemes]]" (a word whose phonemes do not match its vowel letters stays text), and a
// literal "[[" of the text is broken up so it is read as text.
EngineText engineText(const Segment &segment, const Phonemizer &phonemize);

} // namespace speech
