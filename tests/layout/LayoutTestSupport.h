#pragma once
// Assembles documents the way the builder does (property stack, sections, blocks)
// and compares layout dumps and drawing logs with files under expected/.

#include <gtest/gtest.h>

#include "../support/ExpectedFile.h"

#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "html/Token.h"
#include "layout/Block.h"
#include "layout/Document.h"
#include "layout/Dump.h"
#include "layout/ListItem.h"
#include "layout/Preformatted.h"
#include "layout/Rules.h"
#include "layout/Section.h"
#include "platform/RecordingCanvas.h"
#include "style/PropStack.h"
#include "style/StyleParser.h"
#include "style/StyleList.h"

namespace layouttest {

// Box fonts: the default 12 pt text is 16 px high, 8 px per character.
class DocumentBuilder {
public:
    explicit DocumentBuilder(TDocumentHost* host = nullptr) : doc(host) {
        doc.SetDefaults("Times New Roman", "Courier New", 12, 0, 0xFF0000, 0x800080, 0x0000FF, false,
                        0xFFFFFF, 1, 0, 0);
        stack.Reset(*doc.styleSheet);
        cells.push_back(&doc);
    }

    // Opens an element; `style` holds declarations as in a STYLE attribute.
    TProperties& Push(const std::string& tag, const std::string& style = "", const std::string& cls = "") {
        inlineStyles.push_back(std::make_unique<TProperties>());
        TProperties* inlineStyle = nullptr;
        if (!style.empty()) {
            inlineStyle = inlineStyles.back().get();
            ParseStyleAttribute(style, *inlineStyle);
        }
        return stack.PushProperties(*doc.styleSheet, tag, cls, "", inlineStyle, "", "");
    }
    void Pop() { stack.PopTop(); }
    TProperties& Top() { return stack.Last(); }
    TCellBasic& Cell() { return *cells.back(); }

    // Items go in as the builder adds them: a section only when the next item comes
    // or its cell closes, so text can still be appended to it.
    void Add(std::unique_ptr<TSectionBase> item) {
        Flush();
        Cell().Add(std::move(item));
    }
    void Flush() {
        if (pending_) pendingCell_->Add(std::move(pending_));
    }

    template <typename Block = TBlock>
    Block& OpenBlock(const std::string& tag, const std::string& style = "", const std::string& cls = "") {
        TProperties& props = Push(tag, style, cls);
        auto block = std::make_unique<Block>(&doc, props, &Cell(), nullptr);
        Block& result = *block;
        Add(std::move(block));
        cells.push_back(&result.content);
        return result;
    }
    TBlock& OpenBody(const std::string& style = "") { return OpenBlock<TBodyBlock>("body", style); }
    TBlockLI& OpenItem(THtmlSymbol list, int level, int number, char type = 0, const std::string& style = "") {
        TProperties& props = Push("li", style);
        auto item = std::make_unique<TBlockLI>(&doc, props, &Cell(), nullptr, level, number, type, false, list);
        TBlockLI& result = *item;
        Add(std::move(item));
        cells.push_back(&result.content);
        return result;
    }
    void Close() {
        Flush();
        cells.pop_back();
        Pop();
    }

    // A paragraph of text in a block of its own.
    TSection& Paragraph(const std::u16string& text, const std::string& style = "") {
        OpenBlock("p", style);
        TSection& section = Text(text);
        Close();
        return section;
    }
    // A section in the current cell, in the current style; `noBreak` marks the
    // characters as inside NOBR.
    template <typename Section = TSection>
    Section& Text(const std::u16string& text, bool noBreak = false) {
        auto section = std::make_unique<Section>(&doc, true, Top(), nullptr, &Cell(), nullptr);
        Section& result = *section;
        Append(result, text, noBreak);
        Flush();
        pending_ = std::move(section);
        pendingCell_ = &Cell();
        return result;
    }
    void Append(TSection& section, const std::u16string& text, bool noBreak = false) {
        std::vector<std::int32_t> positions(text.size());
        for (std::size_t i = 0; i < text.size(); ++i) positions[i] = sourcePos++;
        section.AppendText(text, positions.data(), 0, noBreak);
    }

    int Layout(int width) {
        Flush();
        int scrollWidth = 0, cursor = 0;
        height = doc.LayoutCell(canvas, 0, width, 600, scrollWidth, cursor);
        return height;
    }
    std::string Dump() { return DumpLayout(doc, canvas); }
    std::string Draw(int width, int height, int scroll = 0) {
        canvas.clearLog();
        doc.SetScrollY(scroll);
        doc.Draw(canvas, {0, 0, width, height}, width, 0, 0, 0, 0);
        return canvas.logText();
    }

    TSectionList doc;
    TPropStack stack;
    platform::RecordingCanvas canvas;
    std::vector<TCellBasic*> cells;
    std::vector<std::unique_ptr<TProperties>> inlineStyles;
    int sourcePos = 0;
    int height = 0;

private:
    std::unique_ptr<TSectionBase> pending_;
    TCellBasic* pendingCell_ = nullptr;
};

// A picture of a fixed size standing in for an image object.
class FakeImage : public TFloatingObj {
  public:
    FakeImage(int w, int h, int align) {
        boxWidth = w;
        boxHeight = h;
        placement = align;
    }
    std::unique_ptr<TFloatingObj> CreatePrintCopy(TSectionList*) const override {
        return std::make_unique<FakeImage>(boxWidth, boxHeight, placement);
    }
    void SizeFor(platform::Canvas&, int, TFontObj*) override {}
    void Draw(platform::Canvas& canvas, int x, int y) override {
        canvas.rectangle({x, y, x + boxWidth, y + boxHeight});
    }
};

// Compares with tests/layout/expected/NAME; VULTARIA_REGENERATE=1 rewrites the file.
inline void ExpectMatchesFile(const std::string& actual, const std::string& name) {
    ExpectMatchesTestFile(actual, "layout/expected/" + name);
}

}  // namespace layouttest
