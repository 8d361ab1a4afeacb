#pragma once
// One stored style value: empty, an integer, a real or a string. Values are kept as
// they came from the style text and only interpreted when layout asks for them, so
// the same property can hold a string in one element and an integer in another.
//
// Every element carries 53 of these and inherits most of them from its parent, so a
// copy must be cheap: strings are immutable and shared between copies through a
// plain (not thread-safe) reference count. Style values live on the GUI thread.

#include <string>

// Integer markers that share the integer slots with real lengths and colours.
inline constexpr int NoValue = -12345678;        // nothing set
inline constexpr int AutoValue = -12348765;      // "auto"
inline constexpr int ParagraphSpace = -12348766;  // the default space around paragraphs

class PropValue {
public:
    PropValue() : integer_(0) {}
    PropValue(int value) : kind_(Kind::Integer), integer_(value) {}
    PropValue(double value) : kind_(Kind::Real), real_(value) {}
    PropValue(std::string value) : kind_(Kind::String), text_(new SharedText{1, std::move(value)}) {}
    PropValue(const char* value) : PropValue(std::string(value)) {}
    PropValue(const PropValue& other) : integer_(0) { Take(other); }
    PropValue(PropValue&& other) noexcept : integer_(0) { Steal(other); }
    PropValue& operator=(const PropValue& other) {
        if (this != &other) {
            Release();
            Take(other);
        }
        return *this;
    }
    PropValue& operator=(PropValue&& other) noexcept {
        if (this != &other) {
            Release();
            Steal(other);
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
    int integer() const { return integer_; }
    double real() const { return real_; }
    const std::string& string() const { return text_->text; }

    // Lenient conversions, for readers that accept any stored form.
    // An integer reading of a string that is not a whole number gives `fallback`.
    int toInteger(int fallback = 0) const;
    double toReal(double fallback = 0) const;
    // Text of the value as a style declaration would have written it; empty for empty.
    std::string toText() const;

    void clear() { Release(); }
    bool operator==(const PropValue& other) const;

private:
    enum class Kind : unsigned char { Empty, Integer, Real, String };
    struct SharedText {
        long references;
        const std::string text;
    };
    // Both leave `other`'s value in this one (which holds nothing); Steal empties other.
    void Take(const PropValue& other) {
        kind_ = other.kind_;
        switch (kind_) {
            case Kind::Empty: break;
            case Kind::Integer: integer_ = other.integer_; break;
            case Kind::Real: real_ = other.real_; break;
            case Kind::String: text_ = other.text_; ++text_->references; break;
        }
    }
    void Steal(PropValue& other) {
        Take(other);
        other.Release();
        other.kind_ = Kind::Empty;
    }
    void Release() {
        if (kind_ == Kind::String) DropText();
        kind_ = Kind::Empty;
    }
    void DropText();

    Kind kind_ = Kind::Empty;
    union {
        int integer_;
        double real_;
        SharedText* text_;
    };
};
