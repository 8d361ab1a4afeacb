#pragma once
// Preformatted text: sections that keep every space and never wrap, and page breaks.

#include "layout/Section.h"

class TPreFormated : public TSection {
public:
    using TSection::TSection;
    std::unique_ptr<TSectionBase> CreatePrintCopy(TSectionList* document) const override;
    int Layout(platform::Canvas& canvas, int X, int Y, int refX, int refY, int availWidth,
               int availHeight, IndentManager& indent, int& maxWidth, int& cursor) override;
    void MeasureWidths(platform::Canvas& canvas, int& min, int& max) override;
    void FinishText() override;
    bool IsPreformatted() const override { return true; }
    const char* KindName() const override { return "pre"; }

protected:
    TPreFormated(TSectionList* document, const TPreFormated& source) : TSection(document, source) {}
};

// A page break: moves the page bottom up to itself while printing.
class TPage : public TSectionBase {
public:
    using TSectionBase::TSectionBase;
    std::unique_ptr<TSectionBase> CreatePrintCopy(TSectionList* document) const override;
    int Draw(platform::Canvas& canvas, const platform::Rect& clip, IndentManager& indent, int X,
             int refX, int refY) override;
    const char* KindName() const override { return "page"; }

protected:
    TPage(TSectionList* document, const TPage& source) : TSectionBase(document, source) {}
};
