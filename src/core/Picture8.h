#pragma once
// A picture of one byte per pixel with a 256-entry colour table: the form the
// console's own pictures take (every pixel a CGRAM index), so a viewer can
// swap the colour table without redrawing.

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

class tPicture8
{
  public:
    int32_t Width = 0;
    int32_t Height = 0;
    std::vector<uint8_t> Pixels;             // Height rows of Width bytes
    std::array<uint32_t, 256> ColourTable{}; // 0x00RRGGBB

    // New size with every pixel 0; the colour table is kept.
    void Resize(int32_t W, int32_t H);
    uint8_t* Row(int32_t Y) { return Pixels.data() + static_cast<size_t>(Y) * static_cast<size_t>(Width); }
    const uint8_t* Row(int32_t Y) const { return Pixels.data() + static_cast<size_t>(Y) * static_cast<size_t>(Width); }
    uint8_t At(int32_t X, int32_t Y) const { return Row(Y)[X]; }
    // Redraws the picture stretched by whole factors (pixel repetition).
    void Stretch(int32_t FactorX, int32_t FactorY);
};
