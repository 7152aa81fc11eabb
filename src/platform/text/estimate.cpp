#include "platform/text/estimate.h"

#include <array>
#include <cmath>

namespace estimate {

std::optional<std::int16_t> charsPerMinute(int rate)
{
    static constexpr std::array<std::int16_t, 21> table = {180,  233,  300,  360,  400,  420,  460,
                                                           520,  580,  640,  720,  800,  900,  1100,
                                                           1200, 1280, 1400, 1600, 1800, 2100, 2500};
    if (rate < -10 || rate > 10)
        return std::nullopt;
    return table[rate + 10];
}

QString sizeText(qint64 bytes, const QLocale &locale)
{
    QLocale plain = locale;
    plain.setNumberOptions(QLocale::OmitGroupSeparator);
    return plain.toString(double(bytes) / 1024.0, 'f', 1) + QStringLiteral(" kb");
}

QString durationText(double hours)
{
    if (hours >= 1) {
        const double whole = std::floor(hours);
        const auto minutes = static_cast<long long>(std::floor((hours - whole) * 60));
        return QStringLiteral("%1 час.%2 мин.").arg(static_cast<long long>(whole)).arg(minutes);
    }
    const auto minutes = static_cast<long long>(std::round(hours * 60));
    return QStringLiteral("%1 мин.").arg(minutes, 2, 10, QLatin1Char('0'));
}

double playHours(qint64 bytes, int charsPerMin)
{
    return double(bytes) / charsPerMin / 66;
}

Figures figures(qint64 bytes, qint64 characters, int charsPerMin)
{
    Figures result{sizeText(bytes, QLocale()), std::nullopt};
    // No rate set yet: no estimate rather than a division by zero.
    if (charsPerMin > 0)
        result.hours = playHours(characters, charsPerMin);
    return result;
}

} // namespace estimate
