#include "style/ValueText.h"

#include <charconv>
#include <cmath>
#include <limits>

std::string_view TrimView(std::string_view text) {
    std::size_t first = 0;
    while (first < text.size() && static_cast<unsigned char>(text[first]) <= ' ') ++first;
    std::size_t last = text.size();
    while (last > first && static_cast<unsigned char>(text[last - 1]) <= ' ') --last;
    return text.substr(first, last - first);
}

std::string LowerAscii(std::string_view text) {
    std::string result(text);
    for (char& c : result)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return result;
}

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

std::size_t ScanReal(std::string_view text, double& value) {
    value = 0;
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ') ++i;
    const std::size_t start = i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    const std::size_t mantissa = i;
    std::size_t digits = 0;
    while (i < text.size() && IsDigit(text[i])) ++i, ++digits;
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && IsDigit(text[i])) ++i, ++digits;
    }
    if (digits == 0) return start < text.size() ? start : std::string_view::npos;
    std::size_t end = i;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < text.size() && (text[j] == '+' || text[j] == '-')) ++j;
        if (j < text.size() && IsDigit(text[j])) {
            while (j < text.size() && IsDigit(text[j])) ++j;
            end = j;
        }
    }
    const std::string_view number = text.substr(mantissa, end - mantissa);
    double parsed = 0;
    const auto result = std::from_chars(number.data(), number.data() + number.size(), parsed);
    if (result.ec == std::errc::result_out_of_range) {
        // Too large or too small for a double: saturate rather than fail.
        const std::size_t e = number.find_first_of("eE");
        const bool tiny = e != std::string_view::npos && e + 1 < number.size() && number[e + 1] == '-';
        parsed = tiny ? 0.0 : std::numeric_limits<double>::infinity();
    }
    value = negative ? -parsed : parsed;
    return end == text.size() ? std::string_view::npos : end;
}

bool ReadReal(std::string_view text, double& value) {
    double parsed = 0;
    if (text.empty() || ScanReal(text, parsed) != std::string_view::npos) return false;
    value = parsed;
    return true;
}

bool ReadInteger(std::string_view text, int& value) {
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ') ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    if (i == text.size()) return false;
    long long result = 0;
    for (; i < text.size(); ++i) {
        if (!IsDigit(text[i])) return false;
        result = result * 10 + (text[i] - '0');
        if (result > 2147483648LL) return false;
    }
    if (negative) result = -result;
    if (result > std::numeric_limits<int>::max()) return false;
    value = static_cast<int>(result);
    return true;
}

int RoundToInt(double value) {
    if (std::isnan(value)) return 0;
    const double rounded = std::nearbyint(value);
    if (rounded >= 2147483647.0) return std::numeric_limits<int>::max();
    if (rounded <= -2147483648.0) return std::numeric_limits<int>::min();
    return static_cast<int>(rounded);
}
