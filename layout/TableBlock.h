#pragma once
// The boxes around a table: the table block, whose cell holds the grid and which
// carries the table's margins, frame, background, width, height, alignment and
// floating; and the wrapper that stacks a caption above or below the table block.

#include <memory>
#include <string>

#include "layout/Block.h"
#include "layout/Table.h"

class TTableBlock : public TBlock {
  public:
    // Takes the grid into its own cell. `tableLevel` is 1 for a table that is not
    // inside another one.
    TTableBlock(TSectionList* document, TProperties& props, TCellBasic* parentCell,
                const TAttributeList* attributes, std::unique_ptr<ThtmlTable> table,
                int tableLevel);
    std::unique_ptr<TSectionBase> CreatePrintCopy(TSectionList* document) const override;
    int Layout(platform::Canvas& canvas, int X, int Y, int refX, int refY, int availWidth,
               int availHeight, IndentManager& indent, int& maxWidth, int& cursor) override;
    int Draw(platform::Canvas& canvas, const platform::Rect& clip, IndentManager& indent, int X,
             int refX, int refY) override;
    void MeasureWidths(platform::Canvas& canvas, int& min, int& max) override;
    void RegisterPositions() override;
    void PaintBorders(platform::Canvas& canvas, const platform::Rect& borderRect,
                      const platform::Rect& paddingRect) override;
    int ResolveContentWidth(platform::Canvas& canvas, int availWidth, int availHeight,
                            int autoCount) override;
    bool IsTable() const override { return true; }
    const char* KindName() const override { return "tableblock"; }

    void SetCaption() { hasCaption = true; }
    // The builder's alignment from the enclosing content (2 centre, 3 right), taken
    // when the table neither centres nor floats by itself.
    void TakeInheritedAlign(int align);
    // The width of the table's border box in `availWidth` (after the margins), with
    // the grid's imposed width set for it; a percentage width is of `percentBase`.
    int BorderBoxWidth(platform::Canvas& canvas, int availWidth, int percentBase);
    // Resolves the box against a width before the layout does (for the wrapper).
    void ResolveBox(int availWidth);

    ThtmlTable* grid;   // owned by the content cell; null once the grid could not be laid out
    int widthSpec = 0;  // pixels, or tenths of a percent; 0 for none
    bool widthIsPercent = false;
    int heightSpec = 0;
    bool heightIsPercent = false;
    bool hasBackground = false;
    int hSpace = 0;
    int vSpace = 0;
    bool hasCaption = false;
    bool hasFrameBorder = false;
    int textAlign = 0;  // 0, 2 centre, 3 right
    int floatShiftX = 0;
    int tableLevel = 1;
    // In a wrapper: the room the wrapper had, which a percentage width is of...
    int captionRoom = -1;
    int captionHeight = -1;  // and the height it was given

  protected:
    TTableBlock(TSectionList* document, const TTableBlock& source);

  private:
    // Left plus right border and padding, or top plus bottom.
    int HorizontalFrame() const;
    int VerticalFrame() const;
    // Margins a floating table did not set take its HSPACE and VSPACE.
    void ApplySpacing(TBoxNumbers& box) const;
};

class TTableAndCaptionBlock : public TBlock {
  public:
    TTableAndCaptionBlock(TSectionList* document, TProperties& props, TCellBasic* parentCell,
                          const TAttributeList* attributes);
    std::unique_ptr<TSectionBase> CreatePrintCopy(TSectionList* document) const override;
    int ResolveContentWidth(platform::Canvas& canvas, int availWidth, int availHeight,
                            int autoCount) override;
    void MeasureWidths(platform::Canvas& canvas, int& min, int& max) override;
    int CursorPosOfSource(int sourcePos, bool prev) override;
    bool IsTable() const override { return true; }
    const char* KindName() const override { return "captioned"; }

    // Takes the table and its caption into the wrapper's cell, in the order given; the
    // table gives up floating and its vertical margins to the wrapper.
    void Assemble(std::unique_ptr<TTableBlock> table, std::unique_ptr<TBlock> caption,
                  bool captionOnTop);

    TTableBlock* tableBlock = nullptr;  // both owned by the content cell
    TBlock* captionBlock = nullptr;
    bool captionFirst = true;
    int textAlign = 0;
    std::string tableId;

  protected:
    TTableAndCaptionBlock(TSectionList* document, const TTableAndCaptionBlock& source);

  private:
    int align_ = 0;                // the table's ALIGN as a float side or 0
    int hSpace_ = 0, vSpace_ = 0;  // the table's, for when the wrapper floats
};
