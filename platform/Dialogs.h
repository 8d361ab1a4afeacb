#pragma once
// Everything that asks the user or the desktop something: message boxes, the save
// and print dialogs, the shell's "open", the clipboard. One injectable service, so
// tests can answer in the user's place.

#include <memory>
#include <optional>
#include <string>

namespace platform {

enum class MessageIcon { Information, Warning, Error, Question };

struct SaveFileRequest {
    std::u16string title;
    std::u16string filter;            // "Description|*.ext|Description|*.ext"
    int filterIndex = 1;              // the type proposed, 1 for the first in the filter
    std::u16string defaultExtension;  // without the dot; added to a name typed without one
    std::string initialFile;          // file system path
};

struct SaveFileChoice {
    std::string path;     // file system path
    int filterIndex = 1;  // the type chosen, 1 for the first in the filter
};

// The print dialog works on the printer settings (platform/Printers.h): the printer,
// paper and copies the user chooses there are what the next print uses.
struct PrintRequest {
    int minPage = 1;
    int maxPage = 1;
    int fromPage = 1;  // 0: no range proposed
    int toPage = 1;
    std::u16string documentName;  // proposes the name of a PDF file
};

struct PrintChoice {
    bool allPages = true;
    int fromPage = 1;
    int toPage = 1;
};

class DialogService {
public:
    virtual ~DialogService() = default;
    // Task-modal message box with an OK button.
    virtual void messageBox(const std::u16string& caption, const std::u16string& text,
                            MessageIcon icon) = 0;
    // The chosen path and type, or nothing when cancelled.
    virtual std::optional<SaveFileChoice> saveFile(const SaveFileRequest& request) = 0;
    // An existing file to open, starting from `initialFile` (a file system path); nothing
    // when cancelled.
    virtual std::optional<std::string> openFile(const std::u16string& title,
                                                const std::string& initialFile) = 0;
    virtual std::optional<PrintChoice> printDialog(const PrintRequest& request) = 0;
    // Opens a document or web address in the user's default application; false when
    // that could not be done.
    virtual bool openWithShell(const std::string& target) = 0;
    virtual void setClipboardText(const std::u16string& text) = 0;
};

// The service in force; never null (until one is installed, a RecordingDialogs that
// records every request and cancels every question).
DialogService& Dialogs();
std::unique_ptr<DialogService> InstallDialogs(std::unique_ptr<DialogService> service);

}  // namespace platform
