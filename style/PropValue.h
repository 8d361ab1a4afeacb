#pragma once
// One stored style value: empty, an integer, a real or a string. Values are kept as
// they came from the style text and only interpreted when layout asks for them, so
// the same property can hold a string in one element and an integer in another.

#include <string>
#include <variant>

// Integer markers that share the integer slots with real lengths and colours.
inline constexpr int NoValue = -12345678;        // nothing set
inline constexpr int AutoValue = -12348765;      // "auto"
inline constexpr int ParagraphSpace = -12348766;  // the default space around paragraphs

class PropValue {
public:
    PropValue() = default;
    PropValue(int value) : value_(value) {}
    PropValue(double value) : value_(value) {}
    PropValue(std::string value) : value_(std::move(value)) {}
    PropValue(const char* value) : value_(std::string(value)) {}

    bool isEmpty() const { return std::holds_alternative<std::monostate>(value_); }
    bool isInteger() const { return std::holds_alternative<int>(value_); }
    bool isReal() const { return std::holds_alternative<double>(value_); }
    bool isString() const { return std::holds_alternative<std::string>(value_); }
    bool isNumber() const { return isInteger() || isReal(); }

    // Exact accessors: only valid for the matching kind.
    int integer() const { return std::get<int>(value_); }
    double real() const { return std::get<double>(value_); }
    const std::string& string() const { return std::get<std::string>(value_); }

    // Lenient conversions, for readers that accept any stored form.
    // An integer reading of a string that is not a whole number gives `fallback`.
    int toInteger(int fallback = 0) const;
    double toReal(double fallback = 0) const;
    // Text of the value as a style declaration would have written it; empty for empty.
    std::string toText() const;

    void clear() { value_ = std::monostate{}; }
    bool operator==(const PropValue&) const = default;

private:
    std::variant<std::monostate, int, double, std::string> value_;
};
