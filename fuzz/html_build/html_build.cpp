// Builds a document from arbitrary bytes and lays it out on the recording canvas, at
// two widths, then draws it. The first byte picks the set-up: HTML or plain text, the
// width, whether include comments and linked sheets are answered, and whether the
// page is also hit-tested, searched, copied and printed, and whether its form controls
// are clicked, keyed, submitted, reset and given their values back.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>

#include "html/Builder.h"
#include "layout/Document.h"
#include "layout/Form.h"
#include "layout/FormControls.h"
#include "platform/RecordingCanvas.h"

namespace {

// A viewer that takes submitted forms and answers file requests.
class FormHost : public TDocumentHost {
  public:
    bool HandlesFormSubmit() const override { return true; }
    void FormSubmitted(const std::string&, const std::string&, const std::string&,
                       const std::string&, const platform::StringList& results) override {
        pairs += results.count();
    }
    void FileBrowse(TFormControlObj&, std::string& fileName) override { fileName += "/x"; }
    std::size_t pairs = 0;
};

// Everything a reader can do to the page's controls, each once.
void Operate(TSectionList& document) {
    for (auto& form : document.forms) {
        for (auto& member : form->members) {
            platform::FormControlWindow* window = member->control.get();
            if (!window) continue;
            window->setFocus();
            if (window->onClick) window->onClick();
            if (window->onArrowKey) {
                window->onArrowKey(1, 0);
                window->onArrowKey(0, -1);
            }
            if (window->onActivate) window->onActivate();
            const platform::Rect box = window->bounds();
            member->ImageClick(box.left + 1, box.top + 1);
            if (auto* detached = dynamic_cast<platform::DetachedFormControlWindow*>(window))
                detached->loseFocus();
        }
        form->ResetAll();
    }
    if (const auto data = document.FormData()) document.SetFormData(*data);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::uint8_t setup = size > 0 ? data[0] : 0;
    std::string text(reinterpret_cast<const char*>(data), size);
    if (!text.empty()) text.erase(0, 1);

    FormHost host;
    TSectionList document((setup & 32) ? &host : nullptr);
    document.SetDefaults("Times New Roman", "Courier New", 12, 0, 0xFF0000, 0x800080, 0x0000FF,
                         false, 0xFFFFFF, 1, 5, 10);
    THtmlBuildEvents events;
    int includes = 0;
    if (setup & 2) {
        // Nested include text, bounded as a host with include files would be.
        events.OnInclude = [&includes](const std::string& command, const platform::StringList&,
                                       std::string& result) {
            if (++includes <= 8) result = "<b>" + command + "</b>";
        };
        events.OnStreamRequest = [](const std::string& src, std::string& stream) {
            stream = "p { color: red; margin: 3px } ." + src + " { font-size: 20pt }";
            return true;
        };
        events.OnScript = [](const std::string&, const std::string&, const std::string&) {};
    }
    if (setup & 1)
        ParseText(text, document);
    else
        ParseHtml(text, document, events);

    platform::RecordingCanvas canvas;
    canvas.setRecording(false);
    const int width = (setup & 4) ? 40 : 640;
    int scrollWidth = 0, cursor = 0;
    const int height = document.LayoutCell(canvas, 0, width, 480, scrollWidth, cursor);
    document.Draw(canvas, {0, 0, width, 480}, width, 0, 0, 0, 0);
    if (setup & 32) Operate(document);
    if (setup & 8) {
        document.LayoutCell(canvas, 0, 1, 480, scrollWidth, cursor);
        document.SetScrollY(height / 2);
        document.Draw(canvas, {0, 0, width, 480}, width, 0, 0, 0, 0);
    }
    if (setup & 16) {
        // What the viewer asks of a page: the points under the mouse, the text of a
        // selection, a search, and a printed copy cut into pages.
        document.SetScrollY(0);
        document.Draw(canvas, {0, 0, width, 480}, width, 0, 0, 0, 0);
        for (int y = 0; y < std::min(height, 480); y += 23)
            for (int x = 0; x < width; x += 37) {
                std::string title;
                TFormControlObj* control = nullptr;
                const TUrlTarget* target = nullptr;
                document.HitTestLink(canvas, x, y, title, control, target);
                int XR = 0, YR = 0, caret = 0;
                bool inText = false;
                const int pos = document.CursorAtPoint(canvas, x, y, XR, YR, caret, inText);
                int px = 0, py = 0;
                if (pos >= 0) document.PointOfCursor(&canvas, pos, px, py);
            }
        document.selStart = 0;
        document.selEnd = document.cursorCount;
        std::u16string text;
        document.SelectionToBuffer(text, 4096);
        document.SearchForward(0, u"a", false);
        document.SearchBackward(document.cursorCount, u"a", true);
        document.CursorPosOfSource(static_cast<int>(size / 2), false);
        document.SourcePosOf(document.cursorCount / 2);
        TSectionList copy(document, true);
        copy.isPrinting = true;
        const int printed = copy.LayoutCell(canvas, 0, width, 480, scrollWidth, cursor);
        for (int top = 0, pages = 0; top < printed && pages < 20; ++pages) {
            copy.SetScrollY(top);
            copy.Draw(canvas, {0, 0, width, 300}, width, 0, 0, 0, 0);
            top = std::max(top + 1, copy.pageBottomY);
        }
    }
    return 0;
}
