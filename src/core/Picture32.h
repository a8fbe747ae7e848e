#pragma once
// A picture of 32-bit pixels 0x00RRGGBB (in memory the bytes blue, green,
// red, 0), the form of composed screens and of pictures read from files.

#include <cstddef>
#include <cstdint>
#include <vector>

class tPicture32
{
  public:
    int32_t Width = 0;
    int32_t Height = 0;
    std::vector<uint32_t> Pixels; // Height rows of Width pixels

    // New size with every pixel 0.
    void Resize(int32_t W, int32_t H);
    uint32_t* Row(int32_t Y) { return Pixels.data() + static_cast<size_t>(Y) * static_cast<size_t>(Width); }
    const uint32_t* Row(int32_t Y) const { return Pixels.data() + static_cast<size_t>(Y) * static_cast<size_t>(Width); }
    uint32_t At(int32_t X, int32_t Y) const { return Row(Y)[X]; }
    // Redraws the picture stretched by whole factors (pixel repetition).
    void Stretch(int32_t FactorX, int32_t FactorY);
};
