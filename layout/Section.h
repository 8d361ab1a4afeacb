#pragma once
// A run of flowing text: a paragraph, a list item's text, a table cell's text or one
// preformatted line. It holds the characters, their font runs and the objects among
// them, and after layout its lines. Building and finishing are in Section.cpp, line
// breaking in SectionLayout.cpp, drawing and queries in SectionDraw.cpp.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "layout/FloatingObj.h"
#include "layout/FontObj.h"
#include "layout/FormControls.h"
#include "layout/SectionBase.h"
#include "layout/SectionText.h"
#include "layout/SmallList.h"

class TProperties;
class TAttributeList;
class TCellBasic;
class TokenObj;

// Characters with a meaning of their own in a section's text.
inline constexpr char16_t kControlChar = 2;  // a form control
inline constexpr char16_t kObjectChar = 4;   // an image or panel
inline constexpr char16_t kBreakChar = 8;    // a forced line break
inline constexpr char16_t kIdeographStart = 0x3000;  // from here on, breaks on both sides

struct IndexObj {
    int textOffset = 0;
    int sourcePos = 0;
};

struct LineRec {
    int firstChar = 0;  // offset of the line's first character
    int spaceAbove = 0;
    int spaceBelow = 0;
    int textHeight = 0;
    int occupiedHeight = 0;
    int charCount = 0;
    int descent = 0;
    int indentX = 0;
    int paintX = 0;
    int availableWidth = 0;
    int paintY = 0;
    int spaceCount = 0;
    int extraPixels = 0;
    int Height() const { return spaceAbove + textHeight + spaceBelow; }
};

class TSection : public TSectionBase {
public:
    // An empty section in the style of `props`; `openLink` is the link the builder is
    // inside, if any.
    TSection(TSectionList* document, bool startsBlock, TProperties& props,
             const TUrlTarget* openLink, TCellBasic* cell, const TAttributeList* attributes);
    ~TSection() override;

    std::unique_ptr<TSectionBase> CreatePrintCopy(TSectionList* document) const override;
    void CopyToClipboard() override;
    int Layout(platform::Canvas& canvas, int X, int Y, int refX, int refY, int availWidth,
               int availHeight, IndentManager& indent, int& maxWidth, int& cursor) override;
    int Draw(platform::Canvas& canvas, const platform::Rect& clip, IndentManager& indent, int X,
             int refX, int refY) override;
    unsigned HitTestLink(platform::Canvas& canvas, int X, int Y, std::string& title,
                         TFormControlObj*& control, const TUrlTarget*& linkTarget) override;
    bool HitTestImage(int X, int Y, TFloatingObj*& obj, int& IX, int& IY) override;
    int CursorAtPoint(platform::Canvas& canvas, int X, int Y, int& XR, int& YR, int& caretHeight,
                      bool& inText) override;
    int SearchForward(int from, std::u16string_view text, bool matchCase) override;
    int SearchBackward(int from, std::u16string_view text, bool matchCase) override;
    int SourcePosOf(int cursorPos) override;
    int CursorPosOfSource(int sourcePos, bool prev) override;
    bool PointOfCursor(platform::Canvas* canvas, int cursor, int& X, int& Y) override;
    bool CharAtCursor(int pos, char16_t& ch, TSectionBase*& obj) override;
    void MeasureWidths(platform::Canvas& canvas, int& min, int& max) override;
    bool MinWidthAtMost(platform::Canvas& canvas, int limit) override;
    const char* KindName() const override { return "section"; }
    TSection* AsSection() override { return this; }

    // Building.
    virtual void AppendChar(char16_t ch, int sourceIndex, bool noBreak = false);
    // text-transform: 1 upper case, 2 lower case.
    virtual void AppendRun(const TokenObj& token, int textTransform, bool noBreak);
    virtual void FinishText();
    void AppendText(std::u16string_view text, const std::int32_t* sourcePositions,
                    int textTransform, bool noBreak);
    void StartFontRun(TProperties& props);
    void LinkBoundary(bool isStart, TProperties& props, const TUrlTarget* openLink);
    // Images and panels (PlaceImage, PlacePanel) and form controls (PlaceControl) go in
    // through these: the object gets the next position and its character.
    TFloatingObj* PlaceObject(std::unique_ptr<TFloatingObj> object, int sourceIndex);
    void PlaceControl(TFormControlObj* control, int sourceIndex);
    // Makes the control of an INPUT, SELECT or TEXTAREA in `form` and places it: an image
    // input with its picture (`imageSource`, SRC expanded), a file input as its edit and
    // a "Browse..." button; a hidden input gets no character. The control made (the
    // edit of a file input).
    TFormControlObj* PlaceControl(TFormControlTag tag, ThtmlForm& form, TProperties& props,
                                  int sourceIndex, TCellBasic* cell,
                                  const TAttributeList& attributes, const std::string& imageSource);
    bool IsFinished() const { return finished_; }
    bool IsEmpty() const { return textBuffer.empty(); }

    // Measuring (SectionLayout.cpp).
    int TextWidth(platform::Canvas& canvas, int start, int count, bool trimTrailing);
    int GlyphWidth(platform::Canvas& canvas, int start, int count);
    // The hit-test fitting walk: characters from start that fit into width, floats
    // counting nothing; the last question is remembered.
    int FitCharacters(platform::Canvas& canvas, int start, int width, int count, int& extent);

    // Images, panels and form controls among the text, in the order of their characters.
    const std::vector<std::unique_ptr<TFloatingObj>>& InlineObjects() const {
        return extras_ ? extras_->inlineObjects : kNoObjects;
    }
    const std::vector<TFormControlObj*>& Controls() const {
        return extras_ ? extras_->controls : kNoControls;
    }
    bool HasObjects() const {
        return extras_ && (!extras_->inlineObjects.empty() || !extras_->controls.empty());
    }

    int sectionOrdinal = 0;
    int layoutCycle = 0;
    int minLineHeight = -1;
    TSectionText textBuffer;
    // 'y' after each character a line may break after, 'n' where it may not, and, once
    // finished, a last 'y' past the end; none at all while every one is 'y' (most
    // sections: the flags then take no room).
    const std::string& BreakFlags() const { return extras_ ? extras_->breakFlags : kNoFlags; }
    char BreakFlag(int offset) const {
        const std::string& flags = BreakFlags();
        return flags.empty() ? 'y' : flags[static_cast<std::size_t>(offset)];
    }
    // The flags to change in place, or null while none are written out.
    std::string* WrittenBreakFlags() {
        return extras_ && !extras_->breakFlags.empty() ? &extras_->breakFlags : nullptr;
    }
    TFontList fontRuns;
    TSmallList<IndexObj> sourceRuns;
    std::vector<LineRec> lines;
    int lastDrawX = 0;
    int layoutX = 0;  // the X of the last layout, for the layout dump
    int cellLeftX = 0;  // the cell's left edge at the last layout, where floats are measured from
    int cachedMinWidth = 0;
    int cachedMaxWidth = 0;
    int textIndentPx = 0;
    // At most 90; far below -100 a percentage already indents out of any room there is.
    std::int16_t textIndentPercent = 0;
    std::int8_t textAlign = 1;   // 1 left, 2 centre, 3 right, 4 justify
    std::int8_t clearSides = 0;  // 1 left, 2 right, 3 both
    bool isAnchorTarget = false;

protected:
    TSection(TSectionList* document, const TSection& source);
    // Lays out with the room the indent manager gives (preformatted text widens it).
    int LayoutLines(platform::Canvas& canvas, int X, int Y, int availWidth,
                    IndentManager& indent, int& maxWidth, int& cursor);
    void FinishBuffers();
    void RemoveChar(int offset);

private:
    friend class SectionLineBuilder;
    TFontObj& NewFontRun(TProperties& props);
    int ClearSpace(IndentManager& indent, int Y) const;
    int CountFitting(platform::Canvas& canvas, int start, std::vector<TFloatingObj*>& floats,
                     int& floatHeight, IndentManager& indent, int Y, int max);
    TFloatingObj* ObjectAt(int offset) const;
    TFormControlObj* ControlAt(int offset) const;
    std::vector<TFormControlObj*>::const_iterator FirstControlFrom(int offset) const;
    // Where the text run from `start` ends, before `limit`: at the next font run or object
    // (runIndex: the font run `start` is in, when known).
    int RunEnd(int start, int limit) const;
    int RunEnd(int start, int limit, int runIndex) const;
    int LineIndexOf(int offset) const;
    // Where a measuring function widens the piece of Latin-1 text it hands the canvas
    // (each measures a piece at once and lets it go, so one serves them all).
    static std::u16string& MeasuringScratch() {
        static std::u16string scratch;
        return scratch;
    }
    // `visit`(start, end) for each word the narrowest width is made of (trailing spaces
    // and breaks left out).
    template <class Visit>
    void ForEachWord(Visit visit) const;
    // Keeps in cachedMinWidth a bound of the narrowest width found without measuring,
    // when the section's text allows one (done as a section is finished, while its text
    // and runs are at hand).
    void KeepMinWidthBound();
    struct RangeWidths;
    void MeasureRanges(platform::Canvas& canvas, RangeWidths& ranges) const;
    void DrawLine(platform::Canvas& canvas, const LineRec& line, int lineIndex, int X, int baseY,
                  int selStart, int selEnd, IndentManager& indent, const platform::Rect& clip);

    bool finished_ = false;
    // cachedMinWidth is an upper bound of the narrowest width that MinWidthAtMost found
    // without measuring, not the width itself.
    bool minWidthIsBound_ = false;
    // The hit-test walk's last question and answer.
    struct FitCache {
        int start = -1, width = -1, count = -1, fit = 0, extent = 0;
    };
    // What only some sections need; most have no objects and are never hit-tested.
    struct TExtras {
        std::vector<std::unique_ptr<TFloatingObj>> inlineObjects;
        std::vector<TFormControlObj*> controls;
        std::string breakFlags;
        FitCache fitCache;
    };
    static const std::vector<std::unique_ptr<TFloatingObj>> kNoObjects;
    static const std::vector<TFormControlObj*> kNoControls;
    static const std::string kNoFlags;
    TExtras& Extras() {
        if (!extras_) extras_ = std::make_unique<TExtras>();
        return *extras_;
    }

    std::unique_ptr<TExtras> extras_;
};
