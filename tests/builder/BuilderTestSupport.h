#pragma once
// Builds documents from HTML for the tests and describes them as text: a tree of
// items with their tags, texts and the styles of their font runs, or the layout dump.

#include <gtest/gtest.h>

#include "../support/ExpectedFile.h"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "html/Builder.h"
#include "layout/Block.h"
#include "layout/Document.h"
#include "layout/Dump.h"
#include "layout/ListItem.h"
#include "layout/Section.h"
#include "platform/CodePage.h"
#include "platform/RecordingCanvas.h"

namespace buildertest {

// A host, so the document counts as shown by a viewer.
class Host : public TDocumentHost {};

struct Page {
    Host host;
    TSectionList doc{&host};
    THtmlParseResult result;

    Page() {
        doc.SetDefaults("Times New Roman", "Courier New", 12, 0, 0xFF0000, 0x800080, 0x0000FF,
                        false, 0xFFFFFF, 1, 5, 10);
    }
    explicit Page(const std::string& html, const THtmlBuildEvents& events = {}) : Page() {
        result = ParseHtml(html, doc, events);
    }

    TBlock& Body() { return *dynamic_cast<TBlock*>(doc.items.back().get()); }

    std::string Layout(int width = 400) {
        platform::RecordingCanvas canvas;
        int scrollWidth = 0, cursor = 0;
        doc.LayoutCell(canvas, 0, width, 600, scrollWidth, cursor);
        return DumpLayout(doc, canvas);
    }

    // Everything selected and copied out, as UTF-8; `count` gets the selection's length.
    std::string SelectAllText(int& count) {
        Layout();
        const TSectionBase& last = *doc.items.back();
        doc.selStart = 0;
        doc.selEnd = last.firstCursorPos + last.cursorCount;
        count = doc.SelectionLength();
        std::u16string buffer;
        doc.SelectionToBuffer(buffer, count + 1);
        return platform::Utf16ToUtf8(buffer);
    }
};

// Font run styles: b bold, i italic, u underline, s strike-out; "-" plain.
inline std::string RunStyle(const TFontObj& run) {
    std::string s;
    if (run.font.bold()) s += 'b';
    if (run.font.italic()) s += 'i';
    if (run.font.underline()) s += 'u';
    if (run.font.strikeOut()) s += 's';
    if (run.IsLink()) s += "@" + run.LinkTarget().Url;
    return s.empty() ? "-" : s;
}

inline void DescribeCell(std::ostringstream& out, const TCellBasic& cell, int depth);

inline void DescribeItem(std::ostringstream& out, TSectionBase& item, int depth) {
    out << std::string(static_cast<std::size_t>(depth) * 2, ' ') << item.KindName();
    if (auto* block = dynamic_cast<TBlock*>(&item)) {
        out << " " << block->tagAndClass;
        if (auto* li = dynamic_cast<TBlockLI*>(block))
            out << " kind=" << int{li->listKind} << " n=" << li->itemNumber;
        out << "\n";
        DescribeCell(out, block->content, depth + 1);
        return;
    }
    if (auto* section = dynamic_cast<TSection*>(&item)) {
        std::u16string text;
        for (char16_t c : section->textBuffer.str()) {
            if (c == kBreakChar) text += u"\\n";
            else text += c;
        }
        out << " \"" << platform::Utf16ToUtf8(text) << "\"";
        // Runs that hold text, as offset:style.
        for (int i = 0; i < section->fontRuns.Count(); ++i) {
            const TFontObj& run = section->fontRuns[i];
            const int end = i + 1 < section->fontRuns.Count() ? section->fontRuns[i + 1].textOffset
                                                               : static_cast<int>(section->textBuffer.size());
            if (end > run.textOffset) out << " " << run.textOffset << ":" << RunStyle(run);
        }
    }
    out << "\n";
}

inline void DescribeCell(std::ostringstream& out, const TCellBasic& cell, int depth) {
    for (const auto& item : cell.items) DescribeItem(out, *item, depth);
}

// The body's content as a tree.
inline std::string Tree(Page& page) {
    std::ostringstream out;
    DescribeCell(out, page.Body().content, 0);
    return out.str();
}

// Compares with tests/builder/expected/NAME; VULTARIA_REGENERATE=1 rewrites the file.
inline void ExpectMatchesFile(const std::string& actual, const std::string& name) {
    ExpectMatchesTestFile(actual, "builder/expected/" + name);
}

// The first section found in document order, depth first.
inline TSection* FirstSection(TCellBasic& cell) {
    for (auto& item : cell.items) {
        if (auto* s = dynamic_cast<TSection*>(item.get())) return s;
        if (auto* b = dynamic_cast<TBlock*>(item.get()))
            if (TSection* s = FirstSection(b->content)) return s;
    }
    return nullptr;
}

}  // namespace buildertest
