#pragma once
// A list item: a block with a marker (bullet, number, letter, roman numeral or
// picture) drawn left of its first line.

#include <string>

#include "html/Symbols.h"
#include "layout/ImageObj.h"
#include "layout/Block.h"

class TBlockLI : public TBlock {
public:
    // listSymbol: the start tag of the enclosing list (symOL, symUL, symDir, symMenu,
    // symDL), anything else for an item outside a list.
    TBlockLI(TSectionList* document, TProperties& props, TCellBasic* parentCell,
             const TAttributeList* attributes, int level, int number, char typeLetter, bool plain,
             THtmlSymbol listSymbol);
    std::unique_ptr<TSectionBase> CreatePrintCopy(TSectionList* document) const override;
    int Layout(platform::Canvas& canvas, int X, int Y, int refX, int refY, int availWidth,
               int availHeight, IndentManager& indent, int& maxWidth, int& cursor) override;
    int Draw(platform::Canvas& canvas, const platform::Rect& clip, IndentManager& indent, int X,
             int refX, int refY) override;
    const char* KindName() const override { return "li"; }
    bool IsListItem() const override { return true; }

    // The marker text of the letter, numeral and number styles ("c.", "iv.", "12.").
    static std::u16string MarkerText(int style, int number);

    // 1 ordered, 2 unordered, 3 definition list, 4 outside any list
    std::int8_t listKind = 4;
    std::int8_t markerStyle = 3;  // a list-style-type
    int itemNumber = 0;
    int firstBaseline = 0;
    TMyFont markerFont;
    std::unique_ptr<TImageObj> markerImage;

  protected:
    TBlockLI(TSectionList* document, const TBlockLI& source);
};
