#include "style/PropValue.h"

#include <charconv>
#include <cmath>
#include <cstdio>

#include "style/ValueText.h"

int PropValue::toInteger(int fallback) const {
    if (isInteger()) return integer();
    if (isReal()) return RoundToInt(real());
    if (isString()) {
        int value = 0;
        if (ReadInteger(string(), value)) return value;
    }
    return fallback;
}

double PropValue::toReal(double fallback) const {
    if (isReal()) return real();
    if (isInteger()) return integer();
    if (isString()) {
        double value = 0;
        if (ReadReal(string(), value)) return value;
    }
    return fallback;
}

std::string PropValue::toText() const {
    if (isString()) return string();
    if (isInteger()) return std::to_string(integer());
    if (isReal()) {
        // Shortest form that reads back as the same number ("12", "10.5").
        char buffer[32];
        const auto result = std::to_chars(buffer, buffer + sizeof buffer, real());
        return std::string(buffer, result.ptr);
    }
    return {};
}

void PropValue::DropText() {
    if (--Text()->references == 0) delete Text();
}
