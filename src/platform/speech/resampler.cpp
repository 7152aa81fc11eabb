#include "platform/speech/resampler.h"

#include <soxr.h>

namespace speech {

Resampler::Resampler(double inputRate, double outputRate) : m_ratio(outputRate / inputRate)
{
    soxr_io_spec_t io = soxr_io_spec(SOXR_INT16_I, SOXR_INT16_I);
    io.flags |= SOXR_NO_DITHER; // silence stays digital zero
    const soxr_quality_spec_t quality = soxr_quality_spec(SOXR_HQ, 0);
    soxr_error_t error = nullptr;
    m_soxr = soxr_create(inputRate, outputRate, 1, &error, &io, &quality, nullptr);
    if (error) {
        soxr_delete(m_soxr);
        m_soxr = nullptr;
    }
}

Resampler::~Resampler()
{
    soxr_delete(m_soxr);
}

void Resampler::process(const qint16 *samples, size_t count, std::vector<qint16> &out)
{
    while (count > 0) {
        const size_t room = static_cast<size_t>(count * m_ratio) + 64;
        const size_t start = out.size();
        out.resize(start + room);
        size_t used = 0;
        size_t made = 0;
        soxr_process(m_soxr, samples, count, &used, out.data() + start, room, &made);
        out.resize(start + made);
        samples += used;
        count -= used;
        if (used == 0 && made == 0)
            break;
    }
}

void Resampler::finish(std::vector<qint16> &out)
{
    constexpr size_t chunk = 1024;
    for (;;) {
        const size_t start = out.size();
        out.resize(start + chunk);
        size_t made = 0;
        soxr_process(m_soxr, nullptr, 0, nullptr, out.data() + start, chunk, &made);
        out.resize(start + made);
        if (made == 0)
            break;
    }
    soxr_clear(m_soxr);
}

} // namespace speech
