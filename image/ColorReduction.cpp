#include "image/ColorReduction.h"

#include <algorithm>
#include <cstdlib>
#include <new>

#include "image/ImageErrors.h"

namespace {

std::uint32_t Rgb(int r, int g, int b) {
    return static_cast<std::uint32_t>(r) << 16 | static_cast<std::uint32_t>(g) << 8 |
           static_cast<std::uint32_t>(b);
}
int RedOf(std::uint32_t rgb) {
    return static_cast<int>((rgb >> 16) & 0xFF);
}
int GreenOf(std::uint32_t rgb) {
    return static_cast<int>((rgb >> 8) & 0xFF);
}
int BlueOf(std::uint32_t rgb) {
    return static_cast<int>(rgb & 0xFF);
}

void CheckFormat(int bitsPerPixel) {
    if (bitsPerPixel != 1 && bitsPerPixel != 4 && bitsPerPixel != 8 && bitsPerPixel != 24)
        throw GIFException(reduction_messages::kInvalidPixelFormat);
}

std::vector<std::uint32_t> SharedPaletteEntries(const std::array<platform::TColor, 256>& shared) {
    std::vector<std::uint32_t> entries;
    entries.reserve(shared.size());
    for (platform::TColor c : shared)
        entries.push_back(Rgb(platform::RedOf(c), platform::GreenOf(c), platform::BlueOf(c)));
    return entries;
}

}  // namespace

const std::vector<std::uint32_t>& DefaultPalette() {
    static const std::vector<std::uint32_t> palette{
        0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0xC0C0C0,
        0x808080, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF,
    };
    return palette;
}

std::vector<std::uint32_t> NetscapePalette() {
    std::vector<std::uint32_t> palette;
    palette.reserve(216);
    for (int r = 0; r < 6; ++r)
        for (int g = 0; g < 6; ++g)
            for (int b = 0; b < 6; ++b) palette.push_back(Rgb(r * 51, g * 51, b * 51));
    return palette;
}

// ---------------------------------------------------------------- rows

TDIBReader::TDIBReader(const DibBitmap& source, int bitsPerPixel) : source_(source) {
    CheckFormat(bitsPerPixel);
    if (source.isNull()) throw GIFException(reduction_messages::kBitmapNotValid);
    if (source.bitsPerPixel() == bitsPerPixel) return;
    if (bitsPerPixel != 24) throw GIFException(reduction_messages::kInvalidPixelFormat);
    try {
        converted_ = DibBitmap(source.width(), source.height(), 24);
    } catch (const std::bad_alloc&) {
        throw EOutOfMemory(reduction_messages::kOutOfMemory);
    }
    for (int y = 0; y < source.height(); ++y) {
        std::uint8_t* p = converted_.row(y);
        for (int x = 0; x < source.width(); ++x, p += 3) {
            const std::uint32_t c = source.pixel(x, y);
            p[0] = static_cast<std::uint8_t>(c);
            p[1] = static_cast<std::uint8_t>(c >> 8);
            p[2] = static_cast<std::uint8_t>(c >> 16);
        }
    }
    useConverted_ = true;
}

const std::uint8_t* TDIBReader::ScanLine(int y) const {
    if (y < 0 || y >= source_.height())
        throw EInvalidGraphicOperation(reduction_messages::kScanLineOutOfRange);
    return useConverted_ ? converted_.row(y) : source_.row(y);
}

TDIBWriter::TDIBWriter(int width, int height, int bitsPerPixel) {
    CheckFormat(bitsPerPixel);
    try {
        block_ = DibBitmap(width, height, bitsPerPixel);
    } catch (const std::bad_alloc&) {
        throw EOutOfMemory(reduction_messages::kOutOfMemory);
    }
}

std::uint8_t* TDIBWriter::ScanLine(int y) {
    return block_.ScanLine(y);
}

platform::Bitmap TDIBWriter::Finish(const std::vector<std::uint32_t>& palette) const {
    DibBitmap copy = block_;
    copy.palette() = palette;
    return copy.ToBitmap();
}

// ---------------------------------------------------------------- lookups

TFastColorLookup::TFastColorLookup(const std::vector<std::uint32_t>& palette)
    : palette_(palette.begin(), palette.begin() + static_cast<std::ptrdiff_t>(
                                                      std::min<std::size_t>(palette.size(), 256))),
      inverse_(32768, -1) {
    ColorCount = static_cast<int>(palette_.size());
    for (std::size_t i = 0; i < palette_.size(); ++i) {
        const std::uint32_t c = palette_[i];
        const std::size_t cell =
            static_cast<std::size_t>((BlueOf(c) / 8) * 1024 + (GreenOf(c) / 8) * 32 + RedOf(c) / 8);
        if (inverse_[cell] < 0)
            inverse_[cell] = static_cast<std::int16_t>(i);  // the first entry keeps its cell
    }
}

int TFastColorLookup::Lookup(int red, int green, int blue, int& r, int& g, int& b) {
    const std::size_t cell =
        static_cast<std::size_t>((blue / 8) * 1024 + (green / 8) * 32 + red / 8);
    int index = inverse_[cell];
    if (index < 0) {
        int best = 0x30000;
        index = 0;
        for (std::size_t i = 0; i < palette_.size(); ++i) {
            const std::uint32_t c = palette_[i];
            const int distance = std::abs(RedOf(c) - red) + std::abs(GreenOf(c) - green) +
                                 std::abs(BlueOf(c) - blue);
            if (distance < best) {
                best = distance;
                index = static_cast<int>(i);
            }
        }
        inverse_[cell] = static_cast<std::int16_t>(index);
    }
    const std::uint32_t chosen = palette_.empty() ? 0 : palette_[static_cast<std::size_t>(index)];
    r = RedOf(chosen);
    g = GreenOf(chosen);
    b = BlueOf(chosen);
    return index;
}

int TNetscapeColorLookup::Lookup(int red, int green, int blue, int& r, int& g, int& b) {
    const int kr = (red + 3) / 51, kg = (green + 3) / 51, kb = (blue + 3) / 51;
    r = kr * 51;
    g = kg * 51;
    b = kb * 51;
    return kb + kg * 6 + kr * 36;
}

// ---------------------------------------------------------------- engines

int TDitherEngine::Dither(int red, int green, int blue, int& r, int& g, int& b) {
    const int index = lookup_.Lookup(red, green, blue, r, g, b);
    column_ += direction_;
    return index;
}

void TDitherEngine::NextLine() {
    direction_ = -direction_;
    column_ = direction_ > 0 ? 0 : width_ - 1;
}

TFloydSteinbergEngine::TFloydSteinbergEngine(int width, TColorLookup& lookup)
    : TDitherEngine(width, lookup) {
    for (auto& row : errors_) row.assign(static_cast<std::size_t>(width) + 2, 0);
}

int TFloydSteinbergEngine::Dither(int red, int green, int blue, int& r, int& g, int& b) {
    const int components[3] = {red, green, blue};
    int values[3];
    for (int c = 0; c < 3; ++c) {
        // The error from the row above at this column and from the pixel before.
        const int above =
            errors_[static_cast<std::size_t>(c)][static_cast<std::size_t>(cell_ + direction_)];
        values[c] = std::clamp(
            components[c] + (above + current_[static_cast<std::size_t>(c)] + 8) / 16, 0, 255);
    }
    const int index = lookup_.Lookup(values[0], values[1], values[2], r, g, b);
    const int chosen[3] = {r, g, b};
    for (int c = 0; c < 3; ++c) {
        const auto k = static_cast<std::size_t>(c);
        const int d = values[c] - chosen[c];
        errors_[k][static_cast<std::size_t>(cell_)] = carried_[k] + 3 * d;
        carried_[k] = nextCarried_[k] + 5 * d;
        nextCarried_[k] = d;
        current_[k] = 7 * d;
    }
    cell_ += direction_;
    column_ += direction_;
    return index;
}

void TFloydSteinbergEngine::NextLine() {
    for (int c = 0; c < 3; ++c) {
        const auto k = static_cast<std::size_t>(c);
        errors_[k][static_cast<std::size_t>(cell_)] = carried_[k];
        current_[k] = carried_[k] = nextCarried_[k] = 0;
    }
    TDitherEngine::NextLine();
    cell_ = direction_ > 0 ? 0 : width_ + 1;
}

// ---------------------------------------------------------------- octree

struct TColorQuantizer::TOctreeNode {
    bool leaf = false;
    long long pixels = 0;
    long long red = 0, green = 0, blue = 0;
    std::array<std::unique_ptr<TOctreeNode>, 8> children;
};

TColorQuantizer::TColorQuantizer(int maxColors, int colorBits)
    : root_(std::make_unique<TOctreeNode>()),
      reducible_(static_cast<std::size_t>(std::clamp(colorBits, 1, 8))),
      maxColors_(std::max(1, maxColors)),
      colorBits_(std::clamp(colorBits, 1, 8)) {
    reducible_[0].push_back(root_.get());
}

TColorQuantizer::~TColorQuantizer() = default;

void TColorQuantizer::AddColor(int red, int green, int blue) {
    TOctreeNode* node = root_.get();
    for (int level = 0; !node->leaf; ++level) {
        const int shift = 7 - level;
        const auto child = static_cast<std::size_t>(
            ((red >> shift) & 1) << 2 | ((green >> shift) & 1) << 1 | ((blue >> shift) & 1));
        if (!node->children[child]) {
            node->children[child] = std::make_unique<TOctreeNode>();
            TOctreeNode* created = node->children[child].get();
            if (level + 1 == colorBits_) {
                created->leaf = true;
                ++leafCount_;
            } else {
                reducible_[static_cast<std::size_t>(level + 1)].push_back(created);
            }
        }
        node = node->children[child].get();
    }
    node->pixels += 1;
    node->red += red;
    node->green += green;
    node->blue += blue;
    while (leafCount_ > maxColors_) Reduce();
}

void TColorQuantizer::Reduce() {
    // The deepest node that still has children becomes one leaf of their colours.
    auto level = reducible_.rbegin();
    while (level != reducible_.rend() && level->empty()) ++level;
    if (level == reducible_.rend()) return;
    TOctreeNode* node = level->back();
    level->pop_back();
    int merged = 0;
    for (auto& child : node->children) {
        if (!child) continue;
        node->pixels += child->pixels;
        node->red += child->red;
        node->green += child->green;
        node->blue += child->blue;
        child.reset();
        ++merged;
    }
    node->leaf = true;
    leafCount_ -= merged - 1;
}

std::vector<std::uint32_t> TColorQuantizer::Palette() const {
    std::vector<std::uint32_t> palette;
    std::vector<const TOctreeNode*> pending{root_.get()};
    while (!pending.empty()) {
        const TOctreeNode* node = pending.back();
        pending.pop_back();
        if (node->leaf) {
            if (node->pixels > 0)
                palette.push_back(Rgb(static_cast<int>(node->red / node->pixels),
                                      static_cast<int>(node->green / node->pixels),
                                      static_cast<int>(node->blue / node->pixels)));
            continue;
        }
        for (auto child = node->children.rbegin(); child != node->children.rend(); ++child)
            if (*child) pending.push_back(child->get());
    }
    return palette;
}

// ---------------------------------------------------------------- reduction

platform::Bitmap ReduceColors(const DibBitmap& bitmap, int paletteKind, int ditherKind,
                              const ScreenColors& screen) {
    const TDIBReader reader(bitmap, 24);
    const int width = bitmap.width(), height = bitmap.height();
    TDIBWriter writer(width, height, 8);

    std::vector<std::uint32_t> palette;
    switch (paletteKind) {
        case pkNetscape:
            palette = NetscapePalette();
            break;
        case pkShared:
            palette = screen.sharedPalette ? SharedPaletteEntries(*screen.sharedPalette)
                                           : DefaultPalette();
            break;
        case pkOptimized: {
            TColorQuantizer quantizer(256, 8);
            for (int y = 0; y < height; ++y) {
                const std::uint8_t* p = reader.ScanLine(y);
                for (int x = 0; x < width; ++x, p += 3) quantizer.AddColor(p[2], p[1], p[0]);
            }
            palette = quantizer.Palette();
            break;
        }
        default:
            palette = DefaultPalette();
            break;
    }

    std::unique_ptr<TColorLookup> lookup;
    if (paletteKind == pkNetscape)
        lookup = std::make_unique<TNetscapeColorLookup>();
    else
        lookup = std::make_unique<TFastColorLookup>(palette);
    if (lookup->ColorCount > 0) {
        std::unique_ptr<TDitherEngine> engine;
        if (ditherKind == dkFloydSteinberg)
            engine = std::make_unique<TFloydSteinbergEngine>(width, *lookup);
        else
            engine = std::make_unique<TDitherEngine>(width, *lookup);
        DitherRows(
            *engine, width, height,
            [&](int x, int y, int& r, int& g, int& b) {
                const std::uint8_t* p = reader.ScanLine(y) + 3 * x;
                r = p[2], g = p[1], b = p[0];
            },
            [&](int x, int y, int index) {
                writer.ScanLine(y)[x] = static_cast<std::uint8_t>(index);
            });
    }
    return writer.Finish(palette);
}

std::vector<std::uint32_t> ScreenPalette(const ScreenColors& screen) {
    return screen.depth >= 8 && screen.sharedPalette ? SharedPaletteEntries(*screen.sharedPalette)
                                                     : DefaultPalette();
}

std::optional<platform::Bitmap> ReduceToScreen(const DibBitmap* bitmap,
                                               const ScreenColors& screen) {
    if (!bitmap || bitmap->isNull()) return std::nullopt;
    return ReduceColors(*bitmap, screen.depth < 8 ? pkDefault : pkShared, dkFloydSteinberg, screen);
}

std::optional<platform::Bitmap> ReduceToScreen(const platform::Bitmap* bitmap) {
    if (!bitmap || bitmap->isNull()) return std::nullopt;
    return *bitmap;
}
