#pragma once
// The predictor PNG's Paeth filter shares between reading and writing.

#include <cstdint>
#include <cstdlib>

// Of left, above and upper-left, the one nearest to left + above - upper-left; ties
// go to left, then above.
inline std::uint8_t PaethPredictor(int left, int above, int upperLeft) {
    // The distances of left + above - upperLeft to each of the three.
    const int toLeft = std::abs(above - upperLeft);
    const int toAbove = std::abs(left - upperLeft);
    const int toUpperLeft = std::abs(left + above - 2 * upperLeft);
    if (toLeft <= toAbove && toLeft <= toUpperLeft) return static_cast<std::uint8_t>(left);
    return static_cast<std::uint8_t>(toAbove <= toUpperLeft ? above : upperLeft);
}
