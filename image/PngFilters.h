#pragma once
// The predictor PNG's Paeth filter shares between reading and writing.

#include <cstdint>
#include <cstdlib>

// Of left, above and upper-left, the one nearest to left + above - upper-left; ties
// go to left, then above.
inline std::uint8_t PaethPredictor(int left, int above, int upperLeft) {
    const int p = left + above - upperLeft;
    const int pa = std::abs(p - left), pb = std::abs(p - above), pc = std::abs(p - upperLeft);
    if (pa <= pb && pa <= pc) return static_cast<std::uint8_t>(left);
    if (pb <= pc) return static_cast<std::uint8_t>(above);
    return static_cast<std::uint8_t>(upperLeft);
}
