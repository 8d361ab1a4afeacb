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
    std::u16string defaultExtension;  // without the dot
    std::string initialFile;          // file system path
};

struct PrintRequest {
    int minPage = 1;
    int maxPage = 1;
    int fromPage = 1;
    int toPage = 1;
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
    // The chosen path, or nothing when cancelled.
    virtual std::optional<std::string> saveFile(const SaveFileRequest& request) = 0;
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
