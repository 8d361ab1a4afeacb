#pragma once
// The style of one element while the document is built: the 53 style properties as
// written, the element's identity (tag, class, id, pseudo-class, title), its font,
// em and ex sizes, character set and code page, and the fonts of a link in its four
// states.

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/Types.h"
#include "style/Fonts.h"
#include "style/PropValue.h"

class TStyleList;
class TPropStack;

// The properties, in the order of the name table (style sheets address them by name).
enum PropIndex : int {
    piFontFamily, piFontSize, piFontStyle, piFontWeight, piTextAlign, piTextDecoration,
    piBorderStyle, piColor, piBackgroundColor, piBorderColor,
    piMarginTop, piMarginRight, piMarginBottom, piMarginLeft,
    piPaddingTop, piPaddingRight, piPaddingBottom, piPaddingLeft,
    piBorderTopWidth, piBorderRightWidth, piBorderBottomWidth, piBorderLeftWidth,
    piBorderTopColor, piBorderRightColor, piBorderBottomColor, piBorderLeftColor,
    piBorderTopStyle, piBorderRightStyle, piBorderBottomStyle, piBorderLeftStyle,
    piWidth, piHeight, piTop, piLeft,
    piVisibility, piLineHeight, piBackgroundImage, piBackgroundPosition, piBackgroundRepeat,
    piBackgroundAttachment, piVerticalAlign, piPosition, piZIndex, piListStyleType,
    piListStyleImage, piFloat, piClear, piTextIndent, piPageBreakBefore, piPageBreakAfter,
    piPageBreakInside, piTextTransform, piDisplay,
};
inline constexpr int PropCount = 53;

// Exact, case-sensitive lookup in the name table; false for names we do not know.
bool PropertyIndexFromName(std::string_view name, PropIndex& index);
const char* PropertyName(PropIndex index);

// Results of the layout queries.
struct TPageBreaks {
    bool Before = false;
    bool After = false;
    bool AvoidInside = false;
};
struct TBackgroundAxis {
    int Kind = 6;  // 0 top, 1 center, 2 bottom, 3 left, 4 right, 5 percent, 6 length
    int Value = 0;
    bool Repeat = true;
    bool Fixed = false;
};
struct TBackgroundPosition {
    TBackgroundAxis Horizontal;
    TBackgroundAxis Vertical;
};
using TVMarginArray = std::array<PropValue, 26>;  // "background-color" to "left"

class TProperties {
public:
    TProperties();
    ~TProperties();
    // Back to the state of a new set, keeping the memory of its strings.
    void Reset();
    TProperties(const TProperties&) = delete;
    TProperties& operator=(const TProperties&) = delete;

    // The font of GetFont, built on first use and dropped when the values change
    // under it (Reparent).
    std::optional<TMyFont> CachedFont;
    platform::TextMetrics FontMetrics;  // of CachedFont
    bool InsideLink = false;
    std::string ElementTag, ElementClass, ElementId, ElementPseudo, ElementTitle;
    const TProperties* StyleAttrProps = nullptr;  // not owned
    platform::TColor FontBackground = platform::clNone;
    std::uint8_t FontCharset = platform::DEFAULT_CHARSET;
    int TextCodePage = 1252;
    int EmPixels = 0;
    int ExPixels = 0;
    std::array<PropValue, PropCount> Values;
    std::array<bool, PropCount> Assigned{};
    std::unique_ptr<TFontInfoArray> LinkFonts;  // only while InsideLink

    PropValue& operator[](PropIndex index) { return Values[index]; }
    const PropValue& operator[](PropIndex index) const { return Values[index]; }

    void Copy(const TProperties& source);
    void InitFromDefault(const TProperties& defaultProps);
    void Inherit(const TProperties& parent);
    // Re-bases an element on a new parent after an element between them was closed.
    void Reparent(const TProperties& newParent, TStyleList& styles, TPropStack& stack,
                  int stackIndex);
    // A presentational HTML attribute; a value a style rule set is kept.
    void SetFromAttribute(PropIndex index, const PropValue& value);
    // One declaration of a style attribute.
    void AssignPropertyByName(std::string_view name, const std::string& value);
    void AssignProperty(PropIndex index, const std::string& value);
    void SetCharset(int requested);
    void SetUtf8();
    void SetFontBackground();
    const TMyFont& GetFont();
    // The screen's metrics of that font.
    const platform::TextMetrics& GetFontMetrics() {
        GetFont();
        return FontMetrics;
    }
    void FillFontInfo(ThtFontInfo& info) const;
    void CopyLinkFonts(TFontInfoArray& target) const;

    // Typed readings for layout. Those returning bool answer false, leaving the
    // output alone, when the value is not given in a form they understand.
    bool GetVerticalAlign(int& align) const;
    bool GetFloat(int& align) const;
    bool GetClear(int& clear) const;
    int GetListStyleType() const;
    std::string GetListStyleImage() const;
    int GetPosition() const;
    int GetVisibility() const;
    int GetZIndex() const;
    bool IsDisplayNone() const;
    int GetTextTransform() const;
    TPageBreaks GetPageBreaks() const;
    platform::TColor GetBackgroundColor() const;
    platform::TColor GetAssignedColor() const;
    int GetBorderStyle() const;
    bool GetBackgroundImage(std::string& url) const;
    int GetLineHeight(int normalHeight) const;
    int GetTextIndent(bool& isPercent) const;
    void GetBackgroundPosition(int emPixels, int exPixels, TBackgroundPosition& position) const;
    void GetMarginArray(TVMarginArray& vm) const;
    // Whether GetMarginArray would give `vm` bit for bit (PropValue::SameBits).
    bool HasMarginArray(const TVMarginArray& vm) const;

private:
    void StoreColorDeclaration(PropIndex index, const std::string& value);
};

// The alignment a word of an HTML align attribute stands for (AlignmentKind).
int AlignmentFromWord(std::string_view word);
// The list-style and border-style numbers of their words (0 when unknown).
int ListStyleFromWord(std::string_view word);
int BorderStyleFromWord(std::string_view word);

// The box conversions: 26 values in the order of TVMarginArray to pixel numbers.
using TBoxNumbers = std::array<int, 26>;
void ConvertMarginArray(const TVMarginArray& vm, int baseWidth, int baseHeight, int emPixels,
                        int exPixels, int& autoCount, TBoxNumbers& box);
void ConvertVerticalMargins(const TVMarginArray& vm, int base, int emPixels, int exPixels,
                            TBoxNumbers& box, bool& topIsParagraph, bool& bottomIsParagraph);
void ConvertPaddings(const TVMarginArray& vm, int emPixels, int exPixels, TBoxNumbers& box);
// The margin `index` of the style in pixels (negative ones too), into `target`; a margin
// the style leaves open keeps what `target` holds.
void TakeMarginLength(const TProperties& props, PropIndex index, int& target);
void ConvertInlineMargins(const TVMarginArray& vm, int base, TBoxNumbers& box, int emPixels,
                          int exPixels);
// Position of a property in TVMarginArray / TBoxNumbers.
constexpr int BoxSlot(PropIndex index) { return index - piBackgroundColor; }
