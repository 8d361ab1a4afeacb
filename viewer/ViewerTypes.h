#pragma once
// The viewer's own types: its options, border and scroll-bar styles, progress stages,
// the event signatures it raises and the records it keeps in its history.

#include <Qt>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "layout/FormData.h"
#include "platform/Canvas.h"
#include "platform/Errors.h"
#include "platform/StringList.h"

class THTMLViewer;
class TFloatingObj;
class TFormControlObj;

enum class THTMLBorderStyle { htFocused, htNone, htSingle };
enum class TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };
enum class TProgressStage { psStarting = 0, psRunning = 1, psEnding = 2 };

enum ThtmlViewerOption : unsigned {
    htOverLinksActive = 1u << 0,
    htNoLinkUnderline = 1u << 1,
    htPrintTableBackground = 1u << 2,
    htPrintMonochromeBlack = 1u << 3,
    htShowDummyCaret = 1u << 4,
    htShowVScroll = 1u << 5,
};
using ThtmlViewerOptions = unsigned;

// A file that is not there, a read that failed.
class EInOutError : public platform::Exception {
  public:
    using Exception::Exception;
};

// No memory for the buffer a paint draws into.
class EOutOfResources : public platform::Exception {
  public:
    using Exception::Exception;
};

// What a right click found under the mouse.
struct TRightClickParameters {
    std::string LinkURL;
    std::string LinkTarget;
    TFloatingObj* ImageObj = nullptr;
    int ImageXPos = 0;
    int ImageYPos = 0;
    std::u16string WordAtMouse;
};

// One entry of the viewer's history.
struct PositionObj {
    std::int64_t ScrollPos = 0;  // a LayoutPosition
    int DocKind = 0;             // 0 HTML, 1 text, 2 image
    std::unique_ptr<TFormData> FormValues;
};

// Events; the sender is always the viewer.
using TNotifyEvent = std::function<void(THTMLViewer* sender)>;
using THotSpotEvent = std::function<void(THTMLViewer* sender, const std::string& src)>;
using THotSpotClickEvent =
    std::function<void(THTMLViewer* sender, const std::string& src, bool& handled)>;
using TRightClickEvent =
    std::function<void(THTMLViewer* sender, TRightClickParameters& parameters)>;
using TImageClickEvent =
    std::function<void(THTMLViewer* sender, TFloatingObj* obj, Qt::MouseButton button,
                       Qt::KeyboardModifiers shift, int x, int y)>;
using TImageOverEvent = std::function<void(THTMLViewer* sender, TFloatingObj* obj,
                                           Qt::KeyboardModifiers shift, int x, int y)>;
using TMouseEvent = std::function<void(THTMLViewer* sender, Qt::MouseButton button,
                                       Qt::KeyboardModifiers shift, int x, int y)>;
using TMouseMoveEvent =
    std::function<void(THTMLViewer* sender, Qt::KeyboardModifiers shift, int x, int y)>;
// Sets handled to keep the viewer from scrolling.
using TMouseWheelEvent = std::function<void(THTMLViewer* sender, Qt::KeyboardModifiers shift,
                                            int wheelDelta, int x, int y, bool& handled)>;
// The key may be changed, or set to 0 to swallow it.
using TKeyEvent = std::function<void(THTMLViewer* sender, int& key, Qt::KeyboardModifiers shift)>;
using TKeyPressEvent = std::function<void(THTMLViewer* sender, char16_t& key)>;
using TDragDropEvent = std::function<void(THTMLViewer* sender, QObject* source, int x, int y)>;
using TDragOverEvent =
    std::function<void(THTMLViewer* sender, QObject* source, int x, int y, bool& accept)>;
using TProcessingEvent = std::function<void(THTMLViewer* sender, bool processingOn)>;
using ThtProgressEvent =
    std::function<void(THTMLViewer* sender, TProgressStage stage, int percentDone)>;
using TParseEvent = std::function<void(THTMLViewer* sender, std::string& source)>;
using TMetaType = std::function<void(THTMLViewer* sender, const std::string& httpEq,
                                     const std::string& name, const std::string& content)>;
using TMetaRefreshType =
    std::function<void(THTMLViewer* sender, int delay, const std::string& url)>;
using TLinkType = std::function<void(THTMLViewer* sender, const std::string& rel,
                                     const std::string& rev, const std::string& href)>;
using TIncludeType =
    std::function<void(THTMLViewer* sender, const std::string& command,
                       const platform::StringList& params, std::string& includeText)>;
using TSoundType =
    std::function<void(THTMLViewer* sender, const std::string& src, int loop, bool terminate)>;
// The bytes of a linked file; false when the host has none.
using TGetStreamEvent =
    std::function<bool(THTMLViewer* sender, const std::string& src, std::string& stream)>;
using TScriptEvent = std::function<void(THTMLViewer* sender, const std::string& name,
                                        const std::string& language, const std::string& script)>;
using TFormSubmitEvent = std::function<void(
    THTMLViewer* sender, const std::string& action, const std::string& target,
    const std::string& encType, const std::string& method, const platform::StringList& results)>;
using TFileBrowseEvent =
    std::function<void(THTMLViewer* sender, TFormControlObj* control, std::string& fileName)>;
using TObjectClickEvent =
    std::function<void(THTMLViewer* sender, TFormControlObj* control, const std::string& onClick)>;
using ThtObjectEvent =
    std::function<void(THTMLViewer* sender, TFormControlObj* control, const std::string& script)>;
using TPagePrinted = std::function<void(THTMLViewer* sender, platform::Canvas& canvas, int numPage,
                                        int w, int h, bool& stopPrinting)>;
using TPageEvent = std::function<void(THTMLViewer* sender, int numPage, bool& stopPrinting)>;
