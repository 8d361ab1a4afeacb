#pragma once
// The dialog service on Qt widgets and the desktop.

#include "platform/Dialogs.h"

namespace platform {

class QtDialogs : public DialogService {
public:
    void messageBox(const std::u16string& caption, const std::u16string& text,
                    MessageIcon icon) override;
    std::optional<SaveFileChoice> saveFile(const SaveFileRequest& request) override;
    std::optional<std::string> openFile(const std::u16string& title,
                                        const std::string& initialFile) override;
    std::optional<PrintChoice> printDialog(const PrintRequest& request) override;
    bool openWithShell(const std::string& target) override;
    void setClipboardText(const std::u16string& text) override;
};

}  // namespace platform
