#pragma once
// A dialog service that answers in the user's place: it records every message box,
// shell request, clipboard text and dialog request, and gives back answers queued beforehand
// (cancel when none is queued). Used by tests and by the headless tools.

#include <deque>
#include <string>
#include <vector>

#include "platform/Dialogs.h"

namespace platform {

class RecordingDialogs : public DialogService {
public:
    struct Message {
        std::u16string caption;
        std::u16string text;
        MessageIcon icon;
    };

    std::vector<Message> messages;
    std::vector<std::string> shellRequests;
    std::vector<std::u16string> clipboard;

    std::vector<SaveFileRequest> saveRequests;
    std::vector<PrintRequest> printRequests;
    std::deque<std::optional<SaveFileChoice>> saveAnswers;
    std::deque<std::optional<PrintChoice>> printAnswers;
    std::vector<std::string> openRequests;  // the initial file of each
    std::deque<std::optional<std::string>> openAnswers;
    bool shellSucceeds = true;

    void messageBox(const std::u16string& caption, const std::u16string& text,
                    MessageIcon icon) override {
        messages.push_back({caption, text, icon});
    }
    std::optional<SaveFileChoice> saveFile(const SaveFileRequest& request) override {
        saveRequests.push_back(request);
        return Take(saveAnswers);
    }
    std::optional<std::string> openFile(const std::u16string&,
                                        const std::string& initialFile) override {
        openRequests.push_back(initialFile);
        return Take(openAnswers);
    }
    std::optional<PrintChoice> printDialog(const PrintRequest& request) override {
        printRequests.push_back(request);
        return Take(printAnswers);
    }
    bool openWithShell(const std::string& target) override {
        shellRequests.push_back(target);
        return shellSucceeds;
    }
    void setClipboardText(const std::u16string& text) override { clipboard.push_back(text); }

private:
    template <typename T>
    static std::optional<T> Take(std::deque<std::optional<T>>& answers) {
        if (answers.empty()) return std::nullopt;
        auto answer = std::move(answers.front());
        answers.pop_front();
        return answer;
    }
};

}  // namespace platform
