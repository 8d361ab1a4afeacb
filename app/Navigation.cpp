// Going back and forward, links clicked in a page, the credits and the home page.

#include "app/FocusLabel.h"
#include "app/FormMain.h"
#include "app/HomePage.h"
#include "app/Look.h"
#include "platform/CodePage.h"
#include "platform/Dialogs.h"
#include "platform/Files.h"
#include "platform/Text.h"
#include "viewer/HtmlViewer.h"

namespace app {

namespace {

// The only links the desktop is asked to open: web and mail addresses. Anything else
// (a program, a script, a file outside the collection) could run whatever the desktop
// maps it to.
bool IsWebOrMailAddress(const std::string& link) {
    const std::string lower = platform::AsciiLowerCase(link);
    for (const char* scheme : {"http://", "https://", "ftp://", "mailto:"})
        if (lower.rfind(scheme, 0) == 0 && lower.size() > std::string(scheme).size()) return true;
    return false;
}

// A link as UTF-8: the collection's pages are in Windows-1252, but a UTF-8 page's links
// are already.
std::string AsUtf8(const std::string& link) {
    const std::u16string wide = platform::Utf8ToUtf16(link);
    if (platform::Utf16ToUtf8(wide) == link) return link;
    return platform::Utf16ToUtf8(platform::Ansi(link));
}

}  // namespace

// One step through a history: the page shown goes on `to` (unless already on its top),
// the top of `from` is shown if it is there, and leaves `from` in any case.
void TformMain::Step(platform::StringList& from, platform::StringList& to) {
    try {
        if (from.empty()) return;
        const std::string current = viewer->CurrentFile();
        if (to.empty() || to.last() != current) to.add(current);
        KeepFormValues();
        const std::string target(from.last());
        if (platform::FileExists(target)) {
            viewer->LoadFromFile(target);
            RestoreFormValues();
        }
        from.removeLast();
    } catch (const std::exception&) {
        // Going back or forward never reports anything; the entry still goes.
        if (!from.empty()) from.removeLast();
    }
}

void TformMain::KeepFormValues() {
    const std::string& file = viewer->CurrentFile();
    if (file.empty()) return;
    if (std::unique_ptr<TFormData> values = viewer->Document().FormData())
        formValues_[file] = std::move(values);
    else
        formValues_.erase(file);
}

void TformMain::RestoreFormValues() {
    const auto kept = formValues_.find(viewer->CurrentFile());
    if (kept != formValues_.end() && kept->second) viewer->Document().SetFormData(*kept->second);
}

void TformMain::imageVoltaClick() {
    Step(listVolta, listVai);
}

void TformMain::imageVaiClick() {
    Step(listVai, listVolta);
}

void TformMain::viewerHotSpotClick(THTMLViewer*, const std::string& src, bool& handled) {
    try {
        if (src.find('#') != std::string::npos) return;
        listVolta.add(viewer->CurrentFile());
        KeepFormValues();
        if (src.size() >= 2 && src[0] == '.' && src[1] == '.') return;
        if (platform::FileExists(PastaDados + src)) {
            viewer->Clear();
            viewer->LoadFromFile(PastaDados + src);
            handled = true;
            return;
        }
        handled = true;
        if (IsWebOrMailAddress(src) && platform::Dialogs().openWithShell(AsUtf8(src))) return;
        platform::Dialogs().messageBox(kApplicationTitle.toStdU16String(),
                                       u"N\u00E3o existe navegador de internet instalado.",
                                       platform::MessageIcon::Error);
        viewer->LoadFromString("<p><b>Artigo n\xE3o encontrado...</b>");
    } catch (const std::exception&) {
        // Links never report errors.
    }
}

void TformMain::labelClick(TFocusLabel* sender) {
    listVolta.add(viewer->CurrentFile());
    KeepFormValues();
    const std::string file = PastaBase + sender->hint().toStdString();
    try {
        if (platform::FileExists(file)) viewer->LoadFromFile(file);
    } catch (const std::exception& error) {
        ReportError(error);
    }
}

}  // namespace app
