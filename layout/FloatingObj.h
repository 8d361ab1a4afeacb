#pragma once
// What a text section needs of the objects that sit among its characters: images and
// panels (character 4) and form controls (character 2). The objects themselves live
// with the image cache and the forms; the section sizes, places, draws and hit-tests
// them only through these interfaces.

#include <memory>
#include <string>

#include "html/Anchors.h"
#include "platform/Canvas.h"

class TSectionList;
class TFontObj;
class TProperties;
class TFormControlObj;

// ALIGN of an image or panel: TOP, MIDDLE or ABSMIDDLE, LEFT and RIGHT (any case);
// other words keep `current`.
int ObjectAlignment(const std::string& value, int current);
// HSPACE and VSPACE: the distance, at most 40 pixels.
int ObjectSpacing(int value);
// The font ALT texts of placeholders and panels are written in: 8-point Arial.
platform::FontSpec ObjectCaptionFont();

// AlignmentKind values the objects use.
enum : int {
    kAlignNone = 0,
    kAlignTop = 1,
    kAlignMiddle = 2,
    kAlignBaseline = 3,
    kAlignBottom = 4,
    kFloatLeft = 5,
    kFloatRight = 6,
    kAlignJustify = 7,
    kAlignSub = 8,
    kAlignSuper = 9,
};

// An image or panel in a section's text.
class TFloatingObj : public TIDObject {
public:
    ~TFloatingObj() override = default;

    int GetTopY() override { return paintY; }

    virtual std::unique_ptr<TFloatingObj> CreatePrintCopy(TSectionList* document) const = 0;
    // Sizes the object for the room of a line (0 while measuring minimum widths), with
    // the font in force at its position.
    virtual void SizeFor(platform::Canvas& canvas, int availWidth, TFontObj* font) = 0;
    // False for a picture that failed to load and shows nothing (list markers drop it).
    virtual bool IsLoaded() const { return true; }
    virtual bool WidthIsPercent() const { return false; }
    // A picture (IMG), as opposed to a host's panel.
    virtual bool IsImage() const { return false; }
    // Draws with the top-left corner of the picture at (x, y), screen coordinates.
    virtual void Draw(platform::Canvas& canvas, int x, int y) = 0;
    // A hit inside the object, X and Y from the corner of HitBox: bits of
    // THitTestResult, the title and the link (maps, server-side maps, image form
    // controls).
    virtual unsigned HitTest(int X, int Y, std::string& title, const TUrlTarget*& linkTarget) {
        return 0;
    }
    // The image input this picture stands for, if any.
    virtual TFormControlObj* FormControl() const { return nullptr; }
    // 0 normal, 1 under the mouse, 2 pressed: pictures that react change their look.
    virtual void SetHoverState(int state) {}
    // The words that stand for the object in copied text (its ALT text).
    virtual std::string AltText() const { return {}; }
    // The frame drawn round the object, in pixels on each side.
    virtual int BorderWidth() const { return 0; }
    // Where it was last drawn, less its frame (screen x, document y): the part that
    // answers the mouse.
    platform::Rect HitBox() const {
        const int b = BorderWidth();
        return {paintX + b, drawY + b, paintX + boxWidth - b, drawY + boxHeight - b};
    }

    // From the element's style: vertical-align, float (a float without room on its
    // right gets 3 pixels each side) and the margins, which become the gaps.
    void ApplyPlacement(const TProperties& props);

    int Alignment() const { return placement; }
    bool Floats() const { return placement == kFloatLeft || placement == kFloatRight; }
    int FloatWidth() const { return boxWidth + gapLeft + gapRight; }
    int FloatHeight() const { return boxHeight + gapTop + gapBottom; }

    int textOffset = 0;  // offset of its character 4 in the section's text
    int placement = kAlignBottom;
    int boxWidth = 0;  // as placed, a border included
    int boxHeight = 0;
    int gapLeft = 0, gapRight = 0;
    int gapTop = 0, gapBottom = 0;
    int floatIndent = 0;  // x of a floating object from the cell's left edge
    int paintY = 0;       // y of its top, document space
    int paintX = 0;        // where it was last drawn, screen space
    int drawY = 0;
};

// A deferred drawing entry: a floating image drawn after all text.
struct TImageRec {
    TFloatingObj* object = nullptr;
    int x = 0;
    int y = 0;  // screen space
};
