#include "platform/speech/voice.h"

#include <array>

namespace speech {

std::optional<AudioFormat> AudioFormat::fromType(int type)
{
    static constexpr std::array<int, 9> rates = {8000,  11025, 12000, 16000, 22050,
                                                 24000, 32000, 44100, 48000};
    if (type < 4 || type > 39)
        return std::nullopt;
    const int variant = (type - 4) % 4;
    return AudioFormat{type, rates[(type - 4) / 4], variant >= 2 ? 16 : 8, variant % 2 == 1 ? 2 : 1};
}

} // namespace speech
