#pragma once
// Horizontal rules: the line item and the block that holds it.

#include "layout/Block.h"

class THorzLine : public TSectionBase {
public:
    // Reads SIZE, COLOR, ALIGN, NOSHADE and WIDTH, and writes the width, height and
    // colour they give into props, for the block made around the rule.
    THorzLine(TSectionList* document, TProperties& props, const TAttributeList* attributes);
    std::unique_ptr<TSectionBase> CreatePrintCopy(TSectionList* document) const override;
    int Layout(platform::Canvas& canvas, int X, int Y, int refX, int refY, int availWidth,
               int availHeight, IndentManager& indent, int& maxWidth, int& cursor) override;
    int Draw(platform::Canvas& canvas, const platform::Rect& clip, IndentManager& indent, int X,
             int refX, int refY) override;
    void CopyToClipboard() override;
    const char* KindName() const override { return "rule"; }

    int thickness = 2;
    platform::TColor ruleColor = platform::clNone;
    int ruleAlign = 2;  // 1 left, 2 centre, 3 right
    bool noShade = false;
    int ruleWidth = 0;
    int ruleX = 0;

protected:
    THorzLine(TSectionList* document, const THorzLine& source);

private:
    int ruleOffsetX_ = 0;  // x of the rule from the X it was laid out at
};

class THRBlock : public TBlock {
public:
    THRBlock(TSectionList* document, std::unique_ptr<THorzLine> line, TProperties& props,
             TCellBasic* parentCell, const TAttributeList* attributes);
    std::unique_ptr<TSectionBase> CreatePrintCopy(TSectionList* document) const override;
    int ResolveContentWidth(platform::Canvas& canvas, int availWidth, int availHeight,
                            int autoCount) override;
    const char* KindName() const override { return "hr"; }

    THorzLine* line;  // owned by the content cell
    int ruleAlign = 2;

protected:
    THRBlock(TSectionList* document, const THRBlock& source);
};
