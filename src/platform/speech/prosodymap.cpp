#include "platform/speech/prosodymap.h"

#include <algorithm>
#include <array>

namespace speech {

namespace {

struct RateSetting
{
    int wordsPerMinute;
    int wordGap;
};

// Measured with the Russian voice on prose (bench_speech_rate). eSpeak's slowest speed,
// 80 words per minute, still speaks about 520 characters a minute, so the slower rates
// stretch the gap between words instead. From 450 words per minute on eSpeak switches
// to its time-stretched mode, which jumps from about 2200 to 2550 characters a minute.
constexpr std::array<RateSetting, 21> rateSettings = {{
    {80, 43}, {80, 29}, {80, 17}, {80, 10}, {80, 7},  {80, 6},  {80, 3},
    {80, 0},  {96, 0},  {107, 0}, {120, 0}, {135, 0}, {154, 0}, {193, 0},
    {214, 0}, {231, 0}, {260, 0}, {311, 0}, {360, 0}, {430, 0}, {450, 0},
}};

constexpr std::array<int, 21> charsPerMinute = {180, 233, 300,  360,  400,  420,  460,  520,  580,  640, 720,
                                                800, 900, 1100, 1200, 1280, 1400, 1600, 1800, 2100, 2500};

} // namespace

EngineProsody engineProsody(const Prosody &prosody)
{
    const RateSetting rate = rateSettings[std::clamp(prosody.rate, -10, 10) + 10];
    return {std::clamp(prosody.volume, 0, 100), 50 + 5 * std::clamp(prosody.pitch, -10, 10),
            rate.wordsPerMinute, rate.wordGap};
}

int targetCharsPerMinute(int rate)
{
    return charsPerMinute[std::clamp(rate, -10, 10) + 10];
}

} // namespace speech
