#include "platform/speech/stress.h"

#include <algorithm>

namespace speech {

namespace {

const QString vowelLetters = QStringLiteral("аеёиоуыэюяАЕЁИОУЫЭЮЯ");

bool isRussianLetter(QChar c)
{
    return (c >= u'а' && c <= u'я') || (c >= u'А' && c <= u'Я') || c == u'ё' || c == u'Ё';
}

QString withoutStress(const QString &name)
{
    qsizetype i = 0;
    while (i < name.size() && (name[i] == u'\'' || name[i] == u','))
        ++i;
    return name.mid(i);
}

bool isVowelStart(QChar c)
{
    return QStringLiteral("aAouiIeEyV8").contains(c);
}

// The stressed sound of a vowel letter, given the sound eSpeak chose for it unstressed:
// a full vowel of the letter is kept, a reduced one replaced (an iotated one keeps its "j").
QString stressedSound(const QString &sound, QChar letter)
{
    struct Vowel
    {
        QChar letter;
        QStringList full;
        QString stressed;
    };
    static const QList<Vowel> vowels = {
        {u'а', {"a", "A"}, "a"},
        {u'я', {"a", "A", "ja"}, "a"},
        {u'о', {"o"}, "o"},
        {u'ё', {"o", "8", "jo"}, "o"},
        {u'у', {"u"}, "u"},
        {u'ю', {"u", "ju"}, "u"},
        {u'ы', {"y"}, "y"},
        {u'и', {"i", "I", "y"}, "i"},
        {u'е', {"e", "E", "je"}, "e"},
        {u'э', {"E", "e"}, "E"},
    };
    const QChar lower = letter.toLower();
    for (const Vowel &v : vowels) {
        if (v.letter != lower)
            continue;
        if (v.full.contains(sound))
            return sound;
        return sound.startsWith(u'j') ? u'j' + v.stressed : v.stressed;
    }
    return sound;
}

QStringList phonemesOnly(const QStringList &names)
{
    QStringList out;
    for (const QString &name : names) {
        // Pauses ("_", "_:") carry nothing of the word.
        const qsizetype pause = name.indexOf(u'_');
        const QString kept = pause < 0 ? name : name.left(pause);
        if (!kept.isEmpty())
            out.append(kept);
    }
    return out;
}

void appendBrokenUp(QString &out, QStringView text)
{
    for (QChar c : text) {
        if (c == u'[' && out.endsWith(u'['))
            out.append(u' ');
        out.append(c);
    }
}

} // namespace

bool isVowelPhoneme(const QString &name)
{
    const QString n = withoutStress(name);
    if (n.isEmpty() || n.contains(u'^'))
        return false;
    return isVowelStart(n[0]) || (n[0] == u'j' && n.size() > 1 && isVowelStart(n[1]));
}

std::optional<QString> stressPhonemes(const QStringList &phonemes, int vowel, QChar letter)
{
    QString out;
    int seen = 0;
    bool placed = false;
    for (const QString &name : phonemesOnly(phonemes)) {
        const bool wasStressed = name.startsWith(u'\'');
        QString sound = withoutStress(name);
        if (!isVowelPhoneme(sound)) {
            out += sound;
            continue;
        }
        if (seen++ == vowel) {
            out += u'\'' + stressedSound(sound, letter);
            placed = true;
            continue;
        }
        if (wasStressed && sound == QLatin1String("o"))
            sound = QStringLiteral("V");
        out += sound;
    }
    if (!placed)
        return std::nullopt;
    return out;
}

EngineText engineText(const Segment &segment, const Phonemizer &phonemize)
{
    const QString &text = segment.text;
    EngineText out;
    qsizetype copied = 0;
    QList<int> stresses = segment.stresses;
    std::sort(stresses.begin(), stresses.end());
    for (int s : stresses) {
        if (s < copied || s >= text.size())
            continue; // a second mark in a word already spoken as phonemes
        qsizetype start = s;
        while (start > 0 && text[start - 1].isLetter())
            --start;
        qsizetype end = s + 1;
        while (end < text.size() && text[end].isLetter())
            ++end;
        const QString word = text.mid(start, end - start);
        if (!std::all_of(word.cbegin(), word.cend(), isRussianLetter))
            continue;
        int vowel = 0;
        int vowelCount = 0;
        for (qsizetype i = start; i < end; ++i) {
            if (vowelLetters.contains(text[i])) {
                if (i < s)
                    ++vowel;
                ++vowelCount;
            }
        }
        const QStringList names = phonemize(word);
        const auto vowels = std::count_if(names.cbegin(), names.cend(), [](const QString &n) {
            return isVowelPhoneme(n.section(u'_', 0, 0));
        });
        if (vowels != vowelCount)
            continue; // eSpeak read the word in some other way; leave it to it
        const auto stressed = stressPhonemes(names, vowel, text[s]);
        if (!stressed)
            continue;
        appendBrokenUp(out.text, QStringView(text).mid(copied, start - copied));
        if (out.text.endsWith(u'['))
            out.text += u' ';
        out.text += QLatin1String("[[") + *stressed + QLatin1String("]]");
        out.phonemes = true;
        copied = end;
    }
    appendBrokenUp(out.text, QStringView(text).mid(copied));
    return out;
}

} // namespace speech
