#pragma once
// Pages with forms built from HTML under a host that records what the document tells
// it: submissions, file requests, clicks, focus and changes.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "html/Builder.h"
#include "layout/Block.h"
#include "layout/Document.h"
#include "layout/Dump.h"
#include "layout/Form.h"
#include "layout/FormControls.h"
#include "layout/ImageObj.h"
#include "platform/RecordingCanvas.h"

namespace formtest {

struct Submission {
    std::string action, target, encType, method;
    std::vector<std::string> pairs;
};

class RecordingHost : public TDocumentHost {
  public:
    bool HandlesFormSubmit() const override { return takesSubmissions; }
    void FormSubmitted(const std::string& action, const std::string& target,
                       const std::string& encType, const std::string& method,
                       const platform::StringList& results) override {
        submissions.push_back({action, target, encType, method, results.lines()});
    }
    void FileBrowse(TFormControlObj&, std::string& fileName) override {
        browsedFrom.push_back(fileName);
        fileName = browseAnswer;
    }
    void ObjectClick(TFormControlObj& control, const std::string& script) override {
        events.push_back("click " + control.name + " " + script);
    }
    void ObjectFocus(TFormControlObj& control, const std::string& script) override {
        events.push_back("focus " + control.name + " " + script);
    }
    void ObjectBlur(TFormControlObj& control, const std::string& script) override {
        events.push_back("blur " + control.name + " " + script);
    }
    void ObjectChange(TFormControlObj& control, const std::string& script) override {
        events.push_back("change " + control.name + " " + script);
    }
    void ScrollFocusedIntoView(int y, bool formControl) override {
        if (formControl) events.push_back("scroll-to " + std::to_string(y));
    }

    bool takesSubmissions = true;
    std::vector<Submission> submissions;
    std::vector<std::string> browsedFrom;
    std::string browseAnswer;
    std::vector<std::string> events;
};

// A page built, laid out and drawn once, so its controls stand where they show.
struct FormPage {
    RecordingHost host;
    TSectionList doc{&host};
    platform::RecordingCanvas canvas;
    int height = 0;

    FormPage() {
        doc.SetDefaults("Times New Roman", "Courier New", 12, 0, 0xFF0000, 0x800080, 0x0000FF,
                        false, 0xFFFFFF, 1, 5, 10);
    }
    explicit FormPage(const std::string& html, int width = 600) : FormPage() { Load(html, width); }

    void Load(const std::string& html, int width = 600) {
        ParseHtml(html, doc);
        Layout(width);
        Draw(0, 600);
    }
    void Layout(int width = 600) {
        int scrollWidth = 0, cursor = 0;
        height = doc.LayoutCell(canvas, 0, width, 600, scrollWidth, cursor);
    }
    // Shows the part of the page from `top`, `rows` pixels high.
    void Draw(int top, int rows) {
        doc.SetScrollY(top);
        doc.Draw(canvas, {0, 0, 600, rows}, 600, 0, 0, 0, 0);
    }

    ThtmlForm& Form(std::size_t index = 0) { return *doc.forms.at(index); }
    // The index-th control of the page, in document order, of a given kind.
    template <typename T = TFormControlObj>
    T& Control(std::size_t index = 0) {
        std::size_t seen = 0;
        for (auto& form : doc.forms)
            for (auto& member : form->members)
                if (auto* c = dynamic_cast<T*>(member.get()))
                    if (seen++ == index) return *c;
        ADD_FAILURE() << "no control " << index;
        throw std::out_of_range("control");
    }
    platform::DetachedFormControlWindow& Window(TFormControlObj& control) {
        return dynamic_cast<platform::DetachedFormControlWindow&>(*control.control);
    }
    // The pairs the first form submits now.
    std::vector<std::string> SubmitFirst() {
        host.submissions.clear();
        Form().Submit();
        return host.submissions.empty() ? std::vector<std::string>{"(nothing)"}
                                        : host.submissions.back().pairs;
    }
};

using Pairs = std::vector<std::string>;

}  // namespace formtest
