// The page's form controls: their windows on the paint surface and their events.

#include <QMetaObject>

#include "platform/qt/QtFormControlWindow.h"
#include "viewer/HtmlViewer.h"
#include "viewer/PaintPanel.h"

std::unique_ptr<platform::FormControlWindow> THTMLViewer::CreateFormControlWindow(
    platform::FormControlKind kind) {
    // The controls show at the page's zoom as it is whenever they are placed.
    return std::make_unique<platform::QtFormControlWindow>(kind, paintPanel_, this,
                                                           [this] { return zoom_ / 100.0; });
}

void THTMLViewer::FormSubmitted(const std::string& action, const std::string& target,
                                const std::string& encType, const std::string& method,
                                const platform::StringList& results) {
    // The handler may well load another page: not while the click or key that submitted
    // is still being handled by the control it came to.
    QMetaObject::invokeMethod(
        this,
        [this, action, target, encType, method, results] {
            if (OnFormSubmit) OnFormSubmit(this, action, target, encType, method, results);
        },
        Qt::QueuedConnection);
}

void THTMLViewer::FileBrowse(TFormControlObj& control, std::string& fileName) {
    if (OnFileBrowse) OnFileBrowse(this, &control, fileName);
}

void THTMLViewer::ObjectClick(TFormControlObj& control, const std::string& onClick) {
    if (OnObjectClick) OnObjectClick(this, &control, onClick);
}

void THTMLViewer::ObjectFocus(TFormControlObj& control, const std::string& script) {
    if (OnObjectFocus) OnObjectFocus(this, &control, script);
}

void THTMLViewer::ObjectBlur(TFormControlObj& control, const std::string& script) {
    if (OnObjectBlur) OnObjectBlur(this, &control, script);
}

void THTMLViewer::ObjectChange(TFormControlObj& control, const std::string& script) {
    if (OnObjectChange) OnObjectChange(this, &control, script);
}
