#pragma once
// A block's box as the page gave it (margins, paddings, borders, sizes, before they are
// worked out in pixels). Most blocks of a page are given the same few, so blocks share
// one copy of each, handed out by the document's pool; changing a shared one copies it.

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>

#include "style/Properties.h"

class TBoxSpecs {
  public:
    explicit TBoxSpecs(TVMarginArray specs)
        : specs_(std::make_shared<const TShared>(std::move(specs))) {}

    const PropValue& operator[](int slot) const {
        return specs_->values[static_cast<std::size_t>(slot)];
    }
    const TVMarginArray& All() const { return specs_->values; }
    void Set(int slot, PropValue value);
    // ConvertMarginArray of these specs. The last conversion is kept with the shared
    // copy: neighbouring boxes mostly ask for the same one.
    void Convert(int baseWidth, int baseHeight, int emPixels, int exPixels, int& autoCount,
                 TBoxNumbers& box) const;

  private:
    friend class TBoxSpecPool;
    struct TConversionKey {
        int baseWidth = 0, baseHeight = 0, emPixels = 0, exPixels = 0, pixelsPerInch = 0;
        bool operator==(const TConversionKey&) const = default;
    };
    struct TConversion {
        bool made = false;
        TConversionKey key;
        int autoCount = 0;
        TBoxNumbers box{};
    };
    struct TShared {
        TShared() = default;
        explicit TShared(TVMarginArray specs) : values(std::move(specs)) {}
        TVMarginArray values;
        // The last two conversions: a box is converted against its room when laid out
        // and against none when measured.
        mutable std::array<TConversion, 2> recent;
        mutable std::uint8_t newest = 0;
    };
    explicit TBoxSpecs(std::shared_ptr<const TShared> shared) : specs_(std::move(shared)) {}
    std::shared_ptr<const TShared> specs_;
};

class TBoxSpecPool {
  public:
    // The pool's copy of `specs`, made when it has none yet.
    TBoxSpecs Share(const TVMarginArray& specs);
    // The pool's copy of the box `props` give (GetMarginArray).
    TBoxSpecs Share(const TProperties& props);
    void Clear() {
        pool_.clear();
        recent_ = {};
    }
    std::size_t Size() const { return pool_.size(); }

  private:
    // Whether a recent copy has values `same` accepts; that copy moves to the front.
    template <class Same>
    bool FromRecent(Same same);

    std::unordered_map<std::string, std::shared_ptr<const TBoxSpecs::TShared>> pool_;
    // The copies handed out last, newest first: neighbouring elements mostly have the
    // same boxes, and comparing with a few costs less than making the pool's key.
    std::array<std::shared_ptr<const TBoxSpecs::TShared>, 4> recent_;
};
