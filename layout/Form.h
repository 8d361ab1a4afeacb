#pragma once
// A FORM of the page: the controls that submit together, where they go and how.
// Controls outside any FORM share a form of their own that submits nowhere in
// particular.

#include <map>
#include <memory>
#include <string>
#include <unordered_set>
#include <vector>

#include "platform/StringList.h"

class TSectionList;
class TAttributeList;
class TFormControlObj;
class TRadioButtonFormControlObj;
namespace platform {
class Canvas;
}

class ThtmlForm {
  public:
    // `attributes` are the FORM tag's; none for the default form.
    ThtmlForm(TSectionList* document, const TAttributeList* attributes);
    ~ThtmlForm();
    ThtmlForm(const ThtmlForm&) = delete;
    ThtmlForm& operator=(const ThtmlForm&) = delete;

    // The form takes the control; hidden ones do not count as visible.
    TFormControlObj* AddControl(std::unique_ptr<TFormControlObj> control);
    // Frees those of this form's controls that are in `dropped`, in one pass.
    void RemoveControls(const std::unordered_set<TFormControlObj*>& dropped);
    void ResetAll();
    // Gathers the pairs of the controls that are not disabled, `extra` last when given,
    // and hands them to the host; nothing happens when the host takes no submissions.
    void Submit(const std::string& extra = {});
    // The pairs every control gives now, disabled ones too.
    std::vector<std::string> FormData() const;
    // Puts pairs kept by FormData back into the controls, in their order.
    void SetFormData(const std::vector<std::string>& pairs);
    // Each control measures itself for the canvas; every layout starts with this.
    void FitAllSizes(platform::Canvas& canvas);

    // The radio buttons that share a NAME (compared without case), in document order.
    std::vector<TRadioButtonFormControlObj*>& RadioGroup(const std::string& upperName);

    TSectionList* document;
    std::string method = "Get";  // at most 4 characters
    std::string action;
    std::string target;
    std::string encoding;
    std::vector<std::unique_ptr<TFormControlObj>> members;
    int visibleCount = 0;

  private:
    std::map<std::string, std::vector<TRadioButtonFormControlObj*>> radioGroups_;
};
