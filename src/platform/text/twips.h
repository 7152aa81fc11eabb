#pragma once

// Window geometry is stored in twips, 1/1440 inch: 15 twips to a pixel at 96 dpi.
namespace twips {

constexpr int kPerPixel = 15;

constexpr int fromPixels(int pixels)
{
    return pixels * kPerPixel;
}
// Rounds to the nearest pixel, halves away from zero.
constexpr int toPixels(int value)
{
    return value >= 0 ? (value + kPerPixel / 2) / kPerPixel : -((-value + kPerPixel / 2) / kPerPixel);
}

} // namespace twips
