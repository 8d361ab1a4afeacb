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

bool PropValue::operator==(const PropValue& other) const {
    if (kind_ != other.kind_) return false;
    switch (kind_) {
        case Kind::Empty: return true;
        case Kind::Integer: return integer_ == other.integer_;
        case Kind::Real: return real_ == other.real_;
        case Kind::String: return text_ == other.text_ || text_->text == other.text_->text;
    }
    return false;
}

void PropValue::DropText() {
    if (--text_->references == 0) delete text_;
}
