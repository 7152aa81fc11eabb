#pragma once

#include <QLocale>
#include <QString>

#include <cstdint>
#include <optional>

// The size and playing-time estimate of a book file, shown in the status bars.
namespace estimate {

// Characters spoken per minute at a narration rate of -10..10; nothing for another rate.
std::optional<std::int16_t> charsPerMinute(int rate);

// The file size in kilobytes with one decimal and the locale's separator: "976.6 kb".
QString sizeText(qint64 bytes, const QLocale &locale);

// A duration of `hours`: "21 час.2 мин." from one hour on (minutes cut), "07 мин."
// below it (minutes rounded, at least two digits).
QString durationText(double hours);

// The playing time of a book of `bytes` characters, in hours. The divisor is 66, not
// 60: the speech runs slower than the nominal rate.
double playHours(qint64 bytes, int charsPerMin);

// Recording runs this many times faster than playing.
constexpr double kRecordingSpeedup = 3.2;

// A book file's figures as the status bars show them (RichTextBox::measure).
struct Figures
{
    QString size;                // sizeText of the file; a missing file counts as empty
    std::optional<double> hours; // playHours; nothing while no narration rate is known
};

// The figures of a book file of `bytes` whose text has `characters` (an e-book's file is
// larger than the text read from it).
Figures figures(qint64 bytes, qint64 characters, int charsPerMin);

} // namespace estimate
