// Typed readings of an element's stored style values for layout, and the box
// conversions from those values to pixels against the containing block.

#include <algorithm>

#include "style/Lengths.h"
#include "style/Properties.h"
#include "style/ValueText.h"

namespace {

bool StringIs(const PropValue& value, std::string_view word) {
    return value.isString() && value.string() == word;
}

int WordNumber(std::string_view word, std::initializer_list<const char*> words) {
    int index = 0;
    for (const char* candidate : words) {
        if (word == candidate) return index;
        ++index;
    }
    return -1;
}

int Length(const PropValue& value, int base, int em, int ex, int defaultValue) {
    return LengthToPixels(value.string(), false, base, em, ex, defaultValue);
}

}  // namespace

int AlignmentFromWord(std::string_view word) {
    const std::string w = LowerAscii(word);
    if (w == "top") return 1;
    if (w == "middle" || w == "absmiddle" || w == "center") return 2;
    if (w == "left") return 5;
    if (w == "right") return 6;
    if (w == "bottom") return 4;
    if (w == "baseline") return 3;
    if (w == "justify") return 7;
    return 0;
}

int ListStyleFromWord(std::string_view word) {
    const int n = WordNumber(word, {"blank", "circle", "decimal", "disc", "lower-alpha",
                                    "lower-roman", "none", "square", "upper-alpha", "upper-roman"});
    return std::max(n, 0);
}

int BorderStyleFromWord(std::string_view word) {
    const int n = WordNumber(word, {"none", "solid", "inset", "outset", "groove", "ridge",
                                    "dashed", "dotted", "double"});
    return std::max(n, 0);
}

bool TProperties::GetVerticalAlign(int& align) const {
    const PropValue& v = Values[piVerticalAlign];
    if (!v.isString()) return false;
    const std::string& s = v.string();
    int result;
    if (s == "top" || s == "text-top") result = 1;
    else if (s == "middle") result = 2;
    else if (s == "baseline") result = 3;
    else if (s == "bottom") result = 4;
    else if (s == "sub") result = 8;
    else if (s == "super") result = 9;
    else return false;
    align = result;
    return true;
}

bool TProperties::GetFloat(int& align) const {
    const PropValue& v = Values[piFloat];
    if (!v.isString()) return false;
    const int n = WordNumber(v.string(), {"none", "left", "right"});
    if (n < 0) return false;
    align = n == 0 ? 0 : n + 4;
    return true;
}

bool TProperties::GetClear(int& clear) const {
    const PropValue& v = Values[piClear];
    if (!v.isString()) return false;
    const int n = WordNumber(v.string(), {"none", "left", "right", "both"});
    if (n < 0) return false;
    clear = n;
    return true;
}

int TProperties::GetListStyleType() const {
    const PropValue& v = Values[piListStyleType];
    return v.isString() ? ListStyleFromWord(v.string()) : 0;
}

std::string TProperties::GetListStyleImage() const { return UrlFromValue(Values[piListStyleImage]); }

int TProperties::GetPosition() const {
    const PropValue& v = Values[piPosition];
    if (StringIs(v, "absolute")) return 1;
    if (StringIs(v, "relative")) return 2;
    return 0;
}

int TProperties::GetVisibility() const {
    const PropValue& v = Values[piVisibility];
    return v.isInteger() && v.integer() == 1 ? 1 : 2;
}

int TProperties::GetZIndex() const { return Values[piZIndex].toInteger(0); }

bool TProperties::IsDisplayNone() const { return StringIs(Values[piDisplay], "none"); }

int TProperties::GetTextTransform() const {
    const PropValue& v = Values[piTextTransform];
    return v.isInteger() ? v.integer() : 0;
}

TPageBreaks TProperties::GetPageBreaks() const {
    return {StringIs(Values[piPageBreakBefore], "always"),
            StringIs(Values[piPageBreakAfter], "always"),
            StringIs(Values[piPageBreakInside], "avoid")};
}

platform::TColor TProperties::GetBackgroundColor() const {
    const PropValue& v = Values[piBackgroundColor];
    if (v.isInteger() && Assigned[piBackgroundColor]) return static_cast<platform::TColor>(v.integer());
    return platform::clNone;
}

platform::TColor TProperties::GetAssignedColor() const {
    const PropValue& v = Values[piColor];
    if (v.isInteger() && Assigned[piColor]) return static_cast<platform::TColor>(v.integer());
    return platform::clNone;
}

int TProperties::GetBorderStyle() const {
    const PropValue& v = Values[piBorderStyle];
    return v.isString() ? BorderStyleFromWord(v.string()) : 0;
}

bool TProperties::GetBackgroundImage(std::string& url) const {
    const PropValue& v = Values[piBackgroundImage];
    if (!v.isString()) return false;
    if (v.string() == "none") {
        url.clear();
        return true;
    }
    std::string address = UrlFromValue(v);
    if (address.empty()) return false;
    url = std::move(address);
    return true;
}

int TProperties::GetLineHeight(int normalHeight) const {
    const PropValue& v = Values[piLineHeight];
    if (!v.isString()) return -1;
    double factor;
    if (ReadReal(v.string(), factor)) return RoundToInt(normalHeight * factor);
    return LengthToPixels(v.string(), true, EmPixels, EmPixels, ExPixels, 0);
}

int TProperties::GetTextIndent(bool& isPercent) const {
    const PropValue& v = Values[piTextIndent];
    if (!v.isString()) return 0;
    if (Contains(v.string(), "%")) {
        isPercent = true;
        return LengthToPixels(v.string(), true, 100, EmPixels, ExPixels, 0);
    }
    return LengthToPixels(v.string(), false, 0, EmPixels, EmPixels, 0);
}

void TProperties::GetBackgroundPosition(int emPixels, int exPixels,
                                        TBackgroundPosition& position) const {
    position = {};
    TBackgroundAxis* axes[2] = {&position.Horizontal, &position.Vertical};
    const PropValue& v = Values[piBackgroundPosition];
    if (v.isString()) {
        const std::string text = Trim(v.string());
        std::string words[2];
        int count = 1;
        const std::size_t blank = text.find(' ');
        if (blank == std::string::npos) {
            words[0] = text;
        } else {
            words[0] = text.substr(0, blank);
            words[1] = Trim(std::string_view(text).substr(blank + 1));
            count = 2;
        }
        int slot = 0;
        TBackgroundAxis* firstSet = nullptr;
        for (int i = 0; i < count; ++i) {
            const std::string& word = words[i];
            TBackgroundAxis& axis = *axes[slot];
            axis.Kind = 6;
            TBackgroundAxis* set = &axis;
            bool sameSlotAgain = false;
            if (word == "center") {
                axis.Kind = 1;
            } else if (Contains(word, "%")) {
                axis.Kind = 5;
            } else if (word == "left" || word == "right") {
                // "10px left": the first word was the vertical position after all.
                if (i == 1 && firstSet && firstSet != &position.Vertical)
                    position.Vertical = *firstSet;
                position.Horizontal.Kind = word == "left" ? 3 : 4;
                set = &position.Horizontal;
            } else if (word == "top" || word == "bottom") {
                position.Vertical.Kind = word == "top" ? 0 : 2;
                set = &position.Vertical;
                sameSlotAgain = i == 0;  // "top left": the next word is the horizontal one
            }
            if (set->Kind == 5 || set->Kind == 6)
                set->Value = LengthToPixels(word, false, 100, emPixels, exPixels, 0);
            if (i == 0) firstSet = set;
            slot = sameSlotAgain ? 0 : 1;
        }
        if (count == 1) {
            // A single word places one axis; the other is centred.
            TBackgroundAxis& other =
                firstSet == &position.Vertical ? position.Horizontal : position.Vertical;
            other.Kind = 1;
            other.Value = 0;
        }
    }
    const PropValue& repeat = Values[piBackgroundRepeat];
    if (StringIs(repeat, "no-repeat")) {
        position.Horizontal.Repeat = position.Vertical.Repeat = false;
    } else if (StringIs(repeat, "repeat-x")) {
        position.Vertical.Repeat = false;
    } else if (StringIs(repeat, "repeat-y")) {
        position.Horizontal.Repeat = false;
    }
    if (StringIs(Values[piBackgroundAttachment], "fixed"))
        position.Horizontal.Fixed = position.Vertical.Fixed = true;
}

void TProperties::GetMarginArray(TVMarginArray& vm) const {
    for (int i = piBackgroundColor; i <= piLeft; ++i) {
        const PropValue& v = Values[i];
        if (i >= piBorderTopStyle && i <= piBorderLeftStyle)
            vm[BoxSlot(static_cast<PropIndex>(i))] = v.isString() ? BorderStyleFromWord(v.string()) : 0;
        else
            vm[BoxSlot(static_cast<PropIndex>(i))] = v;
    }
}

bool TProperties::HasMarginArray(const TVMarginArray& vm) const {
    constexpr std::size_t firstStyle = BoxSlot(piBorderTopStyle);
    constexpr std::size_t afterStyles = BoxSlot(piBorderLeftStyle) + 1;
    const PropValue* own = &Values[piBackgroundColor];
    if (!PropValue::SameBits(own, vm.data(), firstStyle) ||
        !PropValue::SameBits(own + afterStyles, vm.data() + afterStyles, vm.size() - afterStyles))
        return false;
    for (std::size_t i = firstStyle; i < afterStyles; ++i) {
        const int style = own[i].isString() ? BorderStyleFromWord(own[i].string()) : 0;
        if (!vm[i].isInteger() || vm[i].integer() != style) return false;
    }
    return true;
}

void ConvertMarginArray(const TVMarginArray& vm, int baseWidth, int baseHeight, int emPixels,
                        int exPixels, int& autoCount, TBoxNumbers& box) {
    autoCount = 0;
    for (int i = piBackgroundColor; i <= piLeft; ++i) {
        const int slot = BoxSlot(static_cast<PropIndex>(i));
        const PropValue& v = vm[slot];
        int& out = box[slot];
        switch (i) {
            case piBackgroundColor: case piBorderColor:
                if (v.isString()) out = v.toInteger(0);
                else if (v.isInteger()) out = v.integer();
                else out = static_cast<int>(platform::clNone);
                break;
            case piMarginTop: case piMarginBottom:
                break;  // ConvertVerticalMargins
            case piMarginRight: case piMarginLeft:
                if (v.isString()) {
                    if (v.string() == "auto") {
                        out = AutoValue;
                        ++autoCount;
                    } else {
                        out = Length(v, baseWidth, emPixels, exPixels, 0);
                    }
                } else if (v.isInteger()) {
                    out = v.integer() == NoValue ? 0 : v.integer();
                } else {
                    out = 0;
                }
                break;
            case piBorderTopWidth: case piBorderRightWidth: case piBorderBottomWidth:
            case piBorderLeftWidth: {
                const PropValue& style = vm[BoxSlot(static_cast<PropIndex>(i + 8))];
                // A side without a border style has no border, whatever width is given
                // or left at its default.
                if (!style.isInteger() || style.integer() == 0) {
                    out = 0;
                } else if (v.isString()) {
                    const std::string& s = v.string();
                    if (s == "thin") out = 2;
                    else if (s == "medium") out = 4;
                    else if (s == "thick") out = 6;
                    else out = Length(v, baseWidth, emPixels, exPixels, 4);
                } else if (v.isInteger()) {
                    out = v.integer() == NoValue ? 4 : v.integer();
                }
                break;
            }
            case piWidth: case piTop: case piLeft:
                if (v.isString()) out = Length(v, baseWidth, emPixels, exPixels, AutoValue);
                else if (v.isInteger()) out = v.integer() == NoValue ? AutoValue : v.integer();
                else out = AutoValue;
                if (i == piWidth && out == AutoValue) ++autoCount;
                break;
            case piHeight:
                if (v.isString()) out = Length(v, baseHeight, emPixels, exPixels, 0);
                else if (v.isInteger()) out = v.integer() == NoValue ? 0 : v.integer();
                else out = 0;
                break;
            default:  // paddings, side colours and side styles
                if (v.isString()) out = Length(v, baseWidth, emPixels, exPixels, 0);
                else if (v.isInteger()) out = v.integer() == NoValue ? 0 : v.integer();
                else out = 0;
                break;
        }
    }
    for (PropIndex index :
         {piMarginLeft, piMarginRight, piPaddingTop, piPaddingRight, piPaddingBottom, piPaddingLeft,
          piBorderTopWidth, piBorderRightWidth, piBorderBottomWidth, piBorderLeftWidth, piWidth,
          piHeight, piTop, piLeft}) {
        int& out = box[BoxSlot(index)];
        if (out != AutoValue) out = BoundedLength(out);
    }
}

void ConvertVerticalMargins(const TVMarginArray& vm, int base, int emPixels, int exPixels,
                            TBoxNumbers& box, bool& topIsParagraph, bool& bottomIsParagraph) {
    topIsParagraph = bottomIsParagraph = false;
    for (PropIndex index : {piMarginTop, piMarginBottom}) {
        const PropValue& v = vm[BoxSlot(index)];
        int& out = box[BoxSlot(index)];
        bool& paragraph = index == piMarginTop ? topIsParagraph : bottomIsParagraph;
        if (v.isString()) out = Length(v, base, emPixels, exPixels, 0);
        else if (!v.isInteger() || v.integer() == NoValue) out = 0;
        else if (v.integer() == ParagraphSpace) {
            out = 14;
            paragraph = true;
        } else out = v.integer();
        out = BoundedLength(out);
    }
}

void ConvertPaddings(const TVMarginArray& vm, int emPixels, int exPixels, TBoxNumbers& box) {
    for (PropIndex index : {piPaddingTop, piPaddingRight, piPaddingBottom, piPaddingLeft}) {
        const PropValue& v = vm[BoxSlot(index)];
        int& out = box[BoxSlot(index)];
        // Base -100: a percentage comes out as its negative, for the table to resolve.
        if (v.isString()) out = LengthToPixels(v.string(), false, -100, emPixels, exPixels, 0);
        else if (!v.isInteger() || v.integer() == NoValue) out = -1;
        else out = v.integer();
    }
}

void ConvertInlineMargins(const TVMarginArray& vm, int base, TBoxNumbers& box, int emPixels,
                          int exPixels) {
    for (PropIndex index : {piMarginTop, piMarginRight, piMarginBottom, piMarginLeft, piWidth,
                            piHeight}) {
        const PropValue& v = vm[BoxSlot(index)];
        int& out = box[BoxSlot(index)];
        const int fallback = index == piWidth || index == piHeight ? AutoValue : 0;
        if (v.isString()) out = Length(v, base, emPixels, exPixels, fallback);
        else if (!v.isInteger() || v.integer() == NoValue) out = NoValue;
        else out = v.integer();
    }
}
