#pragma once

#include <QtGlobal>

#include <vector>

struct soxr;

namespace speech {

// Mono 16-bit sample-rate conversion with libsoxr.
class Resampler
{
public:
    Resampler(double inputRate, double outputRate);
    ~Resampler();
    Resampler(const Resampler &) = delete;
    Resampler &operator=(const Resampler &) = delete;

    bool isValid() const { return m_soxr != nullptr; }

    // Appends the converted samples to `out`.
    void process(const qint16 *samples, size_t count, std::vector<qint16> &out);
    // Ends a stretch of sound: appends what the filter still holds and starts afresh, so
    // the output of a stretch is as long as its input scaled by the rate ratio.
    void finish(std::vector<qint16> &out);

private:
    soxr *m_soxr = nullptr;
    double m_ratio;
};

} // namespace speech
