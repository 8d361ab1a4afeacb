#include "style/Lengths.h"

#include "platform/Screen.h"
#include "style/PropValue.h"
#include "style/ValueText.h"

namespace {

double defaultPointSize = 12.0;

struct NumberAndUnit {
    double number = 0;  // 0 when the number part does not read
    std::string_view unit;
};

// Splits "12pt", "1.5em" or "50 %" into number and unit. An "e" before the first
// character the number reader rejects starts the unit, so "2em" is 2 em and not an
// exponent.
NumberAndUnit SplitLength(std::string_view text, bool trimUnit) {
    NumberAndUnit result;
    double whole = 0;
    std::size_t stop = ScanReal(text, whole);
    if (stop == std::string_view::npos) {
        result.number = whole;
        return result;
    }
    const std::size_t e = text.find('e');
    if (e != std::string_view::npos && e < stop) stop = e;
    double number = 0;
    if (ReadReal(text.substr(0, stop), number)) result.number = number;
    result.unit = text.substr(stop);
    if (trimUnit) result.unit = TrimView(result.unit);
    return result;
}

}  // namespace

double DefaultPointSize() { return defaultPointSize; }
void SetDefaultPointSize(double points) { defaultPointSize = points; }

int LengthToPixels(std::string_view text, bool relative, int base, int emPixels, int exPixels,
                   int defaultValue) {
    const auto [v, unit] = SplitLength(text, true);
    const double ppi = platform::CurrentPixelsPerInch();
    double pixels;
    if (unit == "in") pixels = v * ppi;
    else if (unit == "cm") pixels = v * ppi / 2.54;
    else if (unit == "mm") pixels = v * ppi / 25.4;
    else if (unit == "pt") pixels = v * ppi / 72;
    else if (unit == "px") pixels = v;
    else if (unit == "pc") pixels = v * ppi / 6;
    else if (unit == "em") pixels = emPixels * v;
    else if (unit == "ex") pixels = exPixels * v;
    else if (unit == "%") pixels = base * v / 100;
    else if (unit.empty()) pixels = relative ? base * v : v;
    else return defaultValue;
    return RoundToInt(pixels);
}

double LengthToPoints(std::string_view text, double parentPoints) {
    const auto [v, unit] = SplitLength(text, false);
    const double ppi = platform::CurrentPixelsPerInch();
    const double d = defaultPointSize;
    if (unit == "in") return v * 72;
    if (unit == "cm") return v * 72 / 2.54;
    if (unit == "mm") return v * 72 / 25.4;
    if (unit == "pt") return v;
    if (unit == "px") return v * 72 / ppi;
    if (unit == "pc") return v * 12;
    if (unit == "em") return v * parentPoints;
    if (unit == "ex") return v * parentPoints / 2;
    if (unit == "%") return v * parentPoints / 100;
    if (unit.empty()) return v * 72 / ppi;
    if (unit == "smaller") return 0.75 * parentPoints;
    if (unit == "larger") return 1.25 * parentPoints;
    if (unit == "xx-small") return d / 1.5;
    if (unit == "x-small") return d / 1.2;
    if (unit == "small") return d;
    if (unit == "medium") return 1.2 * d;
    if (unit == "large") return 1.5 * d;
    if (unit == "x-large") return 2 * d;
    if (unit == "xx-large") return 3 * d;
    return d;
}

std::string UrlFromValue(const PropValue& value) {
    if (!value.isString()) return {};
    const std::string& text = value.string();
    const std::size_t at = text.find("url(");
    if (at == std::string::npos) return {};
    // Read from the "url(" itself, so a value with text before it ("none url(a.gif)")
    // still gives the address and not a slice of that text.
    std::string address = text.substr(at + 4);
    const std::size_t close = address.find(')');
    if (close != std::string::npos) address.resize(close);
    if (address.size() > 2 && (address.front() == '"' || address.front() == '\''))
        address = address.substr(1, address.size() - 2);
    return address;
}
