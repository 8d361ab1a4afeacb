// The cascade: which rules reach an element, in which order, through real stacks of
// open elements. Most cases are data files under cascade/: the sheet, the open
// elements (outermost first, the last is the element checked) and the values
// expected in it.

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

#include "StyleTestSupport.h"
#include "style/PropStack.h"
#include "style/StyleParser.h"
#include "style/ValueText.h"

namespace {

struct OpenElement {
    std::string tag, cls, id, pseudo, style;
};

struct CascadeCase {
    std::string file, name, sheet;
    std::vector<OpenElement> open;
    std::vector<std::pair<std::string, std::string>> expect;
};

OpenElement ParseElement(const std::string& line) {
    OpenElement element;
    std::istringstream in(line);
    in >> element.tag;
    std::string field;
    while (in >> field) {
        const auto eq = field.find('=');
        const std::string name = field.substr(0, eq), value = field.substr(eq + 1);
        if (name == "class") element.cls = value;
        else if (name == "id") element.id = value;
        else if (name == "pseudo") element.pseudo = value;
        else if (name == "style") {
            std::string rest;
            std::getline(in, rest);
            element.style = value + rest;
        }
    }
    return element;
}

std::vector<CascadeCase> LoadCases() {
    std::vector<CascadeCase> cases;
    const std::filesystem::path folder = std::filesystem::path(VULTARIA_TEST_DATA) / "style/cascade";
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    for (const auto& path : files) {
        std::ifstream in(path);
        std::string line, section;
        while (std::getline(in, line)) {
            if (line.rfind("#", 0) == 0 && section != "sheet") continue;  // comments
            if (line.rfind("== ", 0) == 0) {
                cases.push_back({path.filename().string(), line.substr(3), "", {}, {}});
                continue;
            }
            if (line.rfind("-- ", 0) == 0) {
                section = line.substr(3);
                continue;
            }
            if (cases.empty() || line.empty()) continue;
            CascadeCase& c = cases.back();
            if (section == "sheet") c.sheet += line + "\n";
            else if (section == "open") c.open.push_back(ParseElement(line));
            else if (section == "expect") {
                const auto blank = line.find(' ');
                c.expect.emplace_back(line.substr(0, blank), line.substr(blank + 1));
            }
        }
    }
    return cases;
}

// The expected real as written in the data file, read without the process locale.
bool ReadsAs(double actual, const std::string& text) {
    double expected = 0;
    return ReadReal(text, expected) && std::abs(actual - expected) < 1e-9;
}

// "-" empty, "i:n" integer (decimal or 0x hex), "r:x" real, "s:text" string.
::testing::AssertionResult ValueIs(const PropValue& value, const std::string& expected) {
    if (expected == "-") {
        if (value.isEmpty()) return ::testing::AssertionSuccess();
    } else if (expected.rfind("i:", 0) == 0) {
        const long long n = std::stoll(expected.substr(2), nullptr, 0);
        if (value.isInteger() && value.integer() == static_cast<int>(n))
            return ::testing::AssertionSuccess();
    } else if (expected.rfind("r:", 0) == 0) {
        if (value.isReal() && ReadsAs(value.real(), expected.substr(2)))
            return ::testing::AssertionSuccess();
    } else if (expected.rfind("s:", 0) == 0) {
        if (value.isString() && value.string() == expected.substr(2))
            return ::testing::AssertionSuccess();
    }
    const char* kind = value.isEmpty() ? "empty" : value.isInteger() ? "integer"
                       : value.isReal() ? "real" : "string";
    return ::testing::AssertionFailure() << "got " << kind << " '" << value.toText() << "'";
}

TEST(Cascade, DataFileCases) {
    const auto cases = LoadCases();
    ASSERT_GE(cases.size(), 20u);
    for (const CascadeCase& c : cases) {
        SCOPED_TRACE(c.file + ": " + c.name);
        TStyleList styles;
        styletest::BuildUsualDefaults(styles);
        ParseStyleSheetText(styles, c.sheet, "");
        TPropStack stack;
        stack.Reset(styles);
        std::vector<std::unique_ptr<TProperties>> styleAttributes;
        for (const OpenElement& e : c.open) {
            const TProperties* inlineStyle = nullptr;
            if (!e.style.empty()) {
                styleAttributes.push_back(std::make_unique<TProperties>());
                ParseStyleAttribute(e.style, *styleAttributes.back());
                inlineStyle = styleAttributes.back().get();
            }
            stack.PushProperties(styles, e.tag, e.cls, e.id, inlineStyle, "", e.pseudo);
        }
        ASSERT_FALSE(c.expect.empty());
        for (const auto& [name, expected] : c.expect) {
            PropIndex index;
            ASSERT_TRUE(PropertyIndexFromName(name, index)) << name;
            EXPECT_TRUE(ValueIs(stack.Last()[index], expected)) << name << " expected " << expected;
        }
    }
}

class LinkFonts : public ::testing::Test {
protected:
    void SetUp() override { styletest::BuildUsualDefaults(styles); }
    TProperties& OpenLink(const std::string& sheet) {
        ParseStyleSheetText(styles, sheet, "");
        stack.Reset(styles);
        stack.PushProperties(styles, "p", "", "", nullptr, "", "");
        return stack.PushProperties(styles, "a", "", "", nullptr, "", "link");
    }
    TStyleList styles;
    TPropStack stack;
};

TEST_F(LinkFonts, FourStatesFromTheDefaultSheet) {
    TProperties& link = OpenLink("");
    ASSERT_TRUE(link.InsideLink);
    ASSERT_TRUE(link.LinkFonts);
    const TFontInfoArray& fonts = *link.LinkFonts;
    EXPECT_EQ(fonts[TFontInfoArray::Link].Color, styletest::kLinkColor | platform::clPaletteFlag);
    EXPECT_EQ(fonts[TFontInfoArray::Visited].Color, styletest::kVisitedColor | platform::clPaletteFlag);
    EXPECT_EQ(fonts[TFontInfoArray::Hover].Color, styletest::kHoverColor | platform::clPaletteFlag);
    EXPECT_EQ(fonts[TFontInfoArray::VisitedHover].Color, styletest::kHoverColor | platform::clPaletteFlag);
    // The unvisited link's underline comes from "::link" and passes to its other states.
    for (int slot = 0; slot < 4; ++slot) {
        EXPECT_TRUE(fonts[slot].Style & platform::fsUnderline) << slot;
        EXPECT_EQ(fonts[slot].Name, "Times New Roman") << slot;
        EXPECT_DOUBLE_EQ(fonts[slot].Size, 12) << slot;
    }
    // The temporary entries for the states are gone again.
    EXPECT_EQ(stack.Count(), 3);
    EXPECT_EQ(&stack.Last(), &link);
}

TEST_F(LinkFonts, StateRulesReachTheirSlotsOnly) {
    const TProperties& link = OpenLink(
        "a:visited { font-weight: bold }\n"
        "a:hover { text-decoration: none; color: #00ff00 }\n"
        "a { font-style: italic }");
    const TFontInfoArray& fonts = *link.LinkFonts;
    EXPECT_FALSE(fonts[TFontInfoArray::Link].Style & platform::fsBold);
    EXPECT_TRUE(fonts[TFontInfoArray::Visited].Style & platform::fsBold);
    EXPECT_FALSE(fonts[TFontInfoArray::Hover].Style & platform::fsBold);
    EXPECT_TRUE(fonts[TFontInfoArray::VisitedHover].Style & platform::fsBold);
    EXPECT_FALSE(fonts[TFontInfoArray::Hover].Style & platform::fsUnderline);
    EXPECT_TRUE(fonts[TFontInfoArray::Visited].Style & platform::fsUnderline);
    EXPECT_EQ(fonts[TFontInfoArray::Hover].Color, 0x0200FF00u);
    EXPECT_EQ(fonts[TFontInfoArray::VisitedHover].Color, 0x0200FF00u);
    // The italic of the plain rule is inherited by every state.
    for (int slot = 0; slot < 4; ++slot) EXPECT_TRUE(fonts[slot].Style & platform::fsItalic) << slot;
}

TEST_F(LinkFonts, ElementsInsideALinkUpdateTheLinkFonts) {
    OpenLink("");
    TProperties& bold = stack.PushProperties(styles, "b", "", "", nullptr, "", "");
    TProperties& heading = stack.PushProperties(styles, "h1", "", "", nullptr, "", "");
    ASSERT_TRUE(bold.InsideLink && bold.LinkFonts);
    for (int slot = 0; slot < 4; ++slot) EXPECT_TRUE((*bold.LinkFonts)[slot].Style & platform::fsBold);
    // A size already in points is taken as it is (24, not 24 pixels read as points).
    for (int slot = 0; slot < 4; ++slot) EXPECT_DOUBLE_EQ((*heading.LinkFonts)[slot].Size, 24);
    TFontInfoArray copy;
    heading.CopyLinkFonts(copy);
    EXPECT_EQ(copy[TFontInfoArray::Visited], (*heading.LinkFonts)[TFontInfoArray::Visited]);
    // A presentational attribute inside the link reaches the four states too.
    bold.SetFromAttribute(piColor, 0x123456);
    for (int slot = 0; slot < 4; ++slot) EXPECT_EQ((*bold.LinkFonts)[slot].Color, 0x123456u);
}

TEST(Reparent, OutOfOrderEndTagRebasesTheElementsAbove) {
    TStyleList styles;
    styletest::BuildUsualDefaults(styles);
    ParseStyleSheetText(styles, "div { color: red; font-family: Georgia } i { font-size: 20pt }", "");
    TPropStack stack;
    stack.Reset(styles);
    stack.PushProperties(styles, "div", "", "", nullptr, "", "");
    stack.PushProperties(styles, "font", "", "", nullptr, "", "");
    stack.Last().SetFromAttribute(piColor, 0x00FF00);
    stack.PushProperties(styles, "i", "", "", nullptr, "", "");
    TProperties& bold = stack.PushProperties(styles, "b", "", "", nullptr, "", "");
    bold.GetFont();
    ASSERT_TRUE(bold.CachedFont);
    ASSERT_EQ(bold[piColor], PropValue(0x00FF00));
    // </font> while i and b are still open: both now sit on the div.
    stack.PopToTag("font", styles);
    ASSERT_EQ(stack.Count(), 4);
    EXPECT_EQ(stack[2].ElementTag, "i");
    EXPECT_EQ(stack[2][piColor], PropValue(0x0000FF));
    EXPECT_EQ(bold[piColor], PropValue(0x0000FF));
    // What a rule assigned to the element itself stays; the font is rebuilt.
    EXPECT_EQ(stack[2][piFontSize], PropValue(20.0));
    EXPECT_FALSE(bold.CachedFont);
    EXPECT_EQ(bold.GetFont().face, "georgia");  // as the sheet wrote it, lower-cased
    // An end tag with nothing open of that name changes nothing; the base is never popped.
    stack.PopToTag("table", styles);
    stack.PopToTag("default", styles);
    EXPECT_EQ(stack.Count(), 4);
    for (int i = 0; i < 5; ++i) stack.PopTop();
    EXPECT_EQ(stack.Count(), 1);
}

TEST(Reparent, LinkFontsFollowTheNewParent) {
    TStyleList styles;
    styletest::BuildUsualDefaults(styles);
    TPropStack stack;
    stack.Reset(styles);
    stack.PushProperties(styles, "div", "", "", nullptr, "", "");
    stack.PushProperties(styles, "a", "", "", nullptr, "", "link");
    stack.PushProperties(styles, "b", "", "", nullptr, "", "");
    TProperties& inner = stack.PushProperties(styles, "i", "", "", nullptr, "", "");
    ASSERT_TRUE(inner.InsideLink);
    // </a> with b and i open: they are no longer inside a link.
    stack.PopToTag("a", styles);
    EXPECT_FALSE(inner.InsideLink);
    EXPECT_FALSE(inner.LinkFonts);
    EXPECT_FALSE(stack[2].InsideLink);
}

TEST(Reparent, ALinkRebasedKeepsFreshLinkFonts) {
    TStyleList styles;
    styletest::BuildUsualDefaults(styles);
    ParseStyleSheetText(styles, "b { font-weight: bold }", "");
    TPropStack stack;
    stack.Reset(styles);
    stack.PushProperties(styles, "div", "", "", nullptr, "", "");
    stack.PushProperties(styles, "b", "", "", nullptr, "", "");
    TProperties& link = stack.PushProperties(styles, "a", "", "", nullptr, "", "link");
    ASSERT_TRUE((*link.LinkFonts)[TFontInfoArray::Visited].Style & platform::fsBold);
    stack.PopToTag("b", styles);
    ASSERT_EQ(stack.Count(), 3);
    EXPECT_TRUE(link.InsideLink);
    EXPECT_FALSE((*link.LinkFonts)[TFontInfoArray::Visited].Style & platform::fsBold);
    EXPECT_EQ(stack.Count(), 3);
}

class HoverOwner : public TStyleListOwner {
public:
    void SwitchOnHoverTracking() override { ++calls; }
    int calls = 0;
};

TEST(StyleList, HoverRuleSwitchesOnTracking) {
    HoverOwner owner;
    TStyleList styles(&owner);
    styletest::BuildUsualDefaults(styles);
    ParseStyleSheetText(styles, "a:visited { color: red } .x { colour: red }", "");
    EXPECT_EQ(owner.calls, 0);
    ParseStyleSheetText(styles, "p { } .menu a:hover { color: red } b:hover { color: blue }", "");
    EXPECT_EQ(owner.calls, 1);
    EXPECT_TRUE(styles.HoverTracking());
}

TEST(StyleList, DuplicateKeysMergeInOrderAndClearResets) {
    TStyleList styles;
    styletest::BuildUsualDefaults(styles);
    auto first = std::make_unique<TProperties>();
    (*first)[piColor] = 1;
    (*first)[piTextAlign] = "left";
    auto second = std::make_unique<TProperties>();
    (*second)[piColor] = 2;
    styles.AddObject("P.X", std::move(first));
    styles.AddObject("p.x", std::move(second));
    TPropStack stack;
    stack.Reset(styles);
    const TProperties& p = stack.PushProperties(styles, "p", "x", "", nullptr, "", "");
    EXPECT_EQ(p[piColor], PropValue(2));
    EXPECT_EQ(p[piTextAlign], PropValue("left"));
    EXPECT_EQ(styles.Find("p.x")->ElementTag, "P.X");
    EXPECT_EQ(styles.NextSequence(), "10");
    EXPECT_EQ(styles.NextSequence(), "11");
    styles.Clear();
    EXPECT_EQ(styles.Count(), 0);
    EXPECT_EQ(styles.DefaultProps(), nullptr);
    EXPECT_EQ(styles.NextSequence(), "10");
}

}  // namespace
