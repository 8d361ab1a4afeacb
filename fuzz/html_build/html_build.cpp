// Builds a document from arbitrary bytes and lays it out on the recording canvas, at
// two widths, then draws it. The first byte picks the set-up: HTML or plain text, the
// width, and whether include comments and linked sheets are answered.

#include <cstddef>
#include <cstdint>
#include <string>

#include "html/Builder.h"
#include "layout/Document.h"
#include "platform/RecordingCanvas.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::uint8_t setup = size > 0 ? data[0] : 0;
    std::string text(reinterpret_cast<const char*>(data), size);
    if (!text.empty()) text.erase(0, 1);

    TSectionList document;
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
    if (setup & 1) ParseText(text, document);
    else ParseHtml(text, document, events);

    platform::RecordingCanvas canvas;
    canvas.setRecording(false);
    const int width = (setup & 4) ? 40 : 640;
    int scrollWidth = 0, cursor = 0;
    const int height = document.LayoutCell(canvas, 0, width, 480, scrollWidth, cursor);
    document.Draw(canvas, {0, 0, width, 480}, width, 0, 0, 0, 0);
    if (setup & 8) {
        document.LayoutCell(canvas, 0, 1, 480, scrollWidth, cursor);
        document.SetScrollY(height / 2);
        document.Draw(canvas, {0, 0, width, 480}, width, 0, 0, 0, 0);
    }
    return 0;
}
