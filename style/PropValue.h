#pragma once
// One stored style value: empty, an integer, a real or a string. Values are kept as
// they came from the style text and only interpreted when layout asks for them, so
// the same property can hold a string in one element and an integer in another.
//
// Every element carries 53 of these and inherits most of them from its parent, so a
// copy must be cheap: a value is its kind and eight bytes, and strings are immutable
// and shared between copies through a plain (not thread-safe) reference count. Style
// values live on the GUI thread.

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

// Integer markers that share the integer slots with real lengths and colours.
inline constexpr int NoValue = -12345678;        // nothing set
inline constexpr int AutoValue = -12348765;      // "auto"
inline constexpr int ParagraphSpace = -12348766;  // the default space around paragraphs

class PropValue {
public:
    PropValue() = default;
    PropValue(int value) : kind_(Kind::Integer), bits_(static_cast<std::uint32_t>(value)) {}
    PropValue(double value) : kind_(Kind::Real), bits_(std::bit_cast<std::uint64_t>(value)) {}
    PropValue(std::string value)
        : kind_(Kind::String), bits_(reinterpret_cast<std::uintptr_t>(new SharedText{1, std::move(value)})) {}
    PropValue(const char* value) : PropValue(std::string(value)) {}
    PropValue(const PropValue& other) : kind_(other.kind_), bits_(other.bits_) { Retain(); }
    PropValue(PropValue&& other) noexcept : kind_(other.kind_), bits_(other.bits_) {
        other.kind_ = Kind::Empty;
        other.bits_ = 0;
    }
    PropValue& operator=(const PropValue& other) {
        other.Retain();
        Release();
        kind_ = other.kind_;
        bits_ = other.bits_;
        return *this;
    }
    PropValue& operator=(PropValue&& other) noexcept {
        if (this != &other) {
            Release();
            kind_ = other.kind_;
            bits_ = other.bits_;
            other.kind_ = Kind::Empty;
            other.bits_ = 0;
        }
        return *this;
    }
    ~PropValue() { Release(); }

    bool isEmpty() const { return kind_ == Kind::Empty; }
    bool isInteger() const { return kind_ == Kind::Integer; }
    bool isReal() const { return kind_ == Kind::Real; }
    bool isString() const { return kind_ == Kind::String; }
    bool isNumber() const { return isInteger() || isReal(); }

    // Exact accessors: only valid for the matching kind.
    int integer() const { return static_cast<int>(static_cast<std::uint32_t>(bits_)); }
    double real() const { return std::bit_cast<double>(bits_); }
    const std::string& string() const { return Text()->text; }

    // Lenient conversions, for readers that accept any stored form.
    // An integer reading of a string that is not a whole number gives `fallback`.
    int toInteger(int fallback = 0) const;
    double toReal(double fallback = 0) const;
    // Text of the value as a style declaration would have written it; empty for empty.
    std::string toText() const;

    void clear() {
        Release();
        kind_ = Kind::Empty;
        bits_ = 0;
    }
    void setInteger(int value) {
        Release();
        kind_ = Kind::Integer;
        bits_ = static_cast<std::uint32_t>(value);
    }
    // Appends bytes that tell this value apart from any other (its kind, then its
    // text or its bits), for keys of values worked out from it.
    void AppendIdentity(std::string& key) const {
        key += static_cast<char>('0' + static_cast<int>(kind_));
        if (kind_ == Kind::String) {
            key += string();
            key += '\0';
        } else if (kind_ != Kind::Empty) {
            key.append(reinterpret_cast<const char*>(&bits_), sizeof bits_);
        }
    }
    // The same as far as AppendIdentity tells (a real's bits, not its value, count).
    bool SameIdentity(const PropValue& other) const {
        if (kind_ != other.kind_) return false;
        if (kind_ == Kind::String) return bits_ == other.bits_ || string() == other.string();
        return kind_ == Kind::Empty || bits_ == other.bits_;
    }
    // Whether the `count` values from `a` and from `b` are bit for bit the same: the same
    // kinds and numbers, and strings that share one text. Same bits imply SameIdentity
    // (an empty value keeps no bits, and the padding is always zero); the converse fails
    // only for equal texts held apart. One memory comparison, as the box pool makes for
    // every block.
    static bool SameBits(const PropValue* a, const PropValue* b, std::size_t count) {
        return std::memcmp(a, b, count * sizeof(PropValue)) == 0;
    }
    // Gives the `count` values at `to` those at `from`, as that many assignments would:
    // the strings on either side are counted in one pass each, and the values are then
    // copied as plain bytes (which the zero padding allows). Every element resets and
    // inherits its 53 values this way.
    static void AssignRange(PropValue* to, const PropValue* from, std::size_t count) {
        if (to == from) return;
        for (std::size_t i = 0; i < count; ++i) from[i].Retain();
        AssignPlainRange(to, from, count);
    }
    // The same for values `from` that hold no strings.
    static void AssignPlainRange(PropValue* to, const PropValue* from, std::size_t count) {
        for (std::size_t i = 0; i < count; ++i) to[i].Release();
        std::memcpy(static_cast<void*>(to), from, count * sizeof(PropValue));
    }
    bool operator==(const PropValue& other) const {
        if (kind_ != other.kind_) return false;
        switch (kind_) {
            case Kind::Empty: return true;
            case Kind::Integer: return integer() == other.integer();
            case Kind::Real: return real() == other.real();
            case Kind::String: return bits_ == other.bits_ || string() == other.string();
        }
        return false;
    }

private:
    enum class Kind : unsigned char { Empty, Integer, Real, String };
    struct SharedText {
        long references;
        const std::string text;
    };
    SharedText* Text() const { return reinterpret_cast<SharedText*>(static_cast<std::uintptr_t>(bits_)); }
    void Retain() const {
        if (kind_ == Kind::String) ++Text()->references;
    }
    void Release() {
        if (kind_ == Kind::String) DropText();
    }
    void DropText();

    Kind kind_ = Kind::Empty;
    unsigned char padding_[7] = {};  // never written: SameBits compares it too
    std::uint64_t bits_ = 0;  // an int, a double or a SharedText*, by kind
};
static_assert(sizeof(PropValue) == 16);
