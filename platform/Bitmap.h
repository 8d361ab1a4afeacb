#pragma once
// A picture in memory, independent of any window system. Decoders produce these and
// canvases draw them.

#include <cstdint>
#include <vector>

namespace platform {

class Bitmap {
public:
    enum class Format {
        Rgb32,     // one 0x00RRGGBB word per pixel
        Indexed8,  // one palette index per pixel; palette entries are 0x00RRGGBB
    };

    Bitmap() = default;
    Bitmap(int width, int height, Format format = Format::Rgb32);

    int width() const { return width_; }
    int height() const { return height_; }
    Format format() const { return format_; }
    bool isNull() const { return width_ <= 0 || height_ <= 0; }

    // Rgb32 only.
    std::uint32_t* row32(int y) { return rgb_.data() + static_cast<std::size_t>(y) * width_; }
    const std::uint32_t* row32(int y) const {
        return rgb_.data() + static_cast<std::size_t>(y) * width_;
    }
    // Indexed8 only.
    std::uint8_t* row8(int y) { return indexes_.data() + static_cast<std::size_t>(y) * width_; }
    const std::uint8_t* row8(int y) const {
        return indexes_.data() + static_cast<std::size_t>(y) * width_;
    }
    std::vector<std::uint32_t>& palette() { return palette_; }
    const std::vector<std::uint32_t>& palette() const { return palette_; }

    // 0x00RRGGBB of a pixel, whatever the format.
    std::uint32_t pixel(int x, int y) const;
    void fill(std::uint32_t rgb);  // Rgb32 only

private:
    int width_ = 0;
    int height_ = 0;
    Format format_ = Format::Rgb32;
    std::vector<std::uint32_t> rgb_;
    std::vector<std::uint8_t> indexes_;
    std::vector<std::uint32_t> palette_;
};

}  // namespace platform
