#pragma once
// The controls of a form: each object owns its window (none for a hidden input), sits in
// a text section as a character 2, gives its "name=value" pairs when the form is
// submitted, goes back to its initial state on reset, and draws a picture of itself on
// paper. Pairs and the texts kept with the viewer's history are UTF-8.
//
// The common part and the edits, buttons, hidden and image inputs are in
// FormControls.cpp; check boxes, radio buttons and the two kinds of SELECT in
// FormChoices.cpp; the text area in FormTextArea.cpp; the printed pictures in
// FormPrint.cpp.

#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "html/Anchors.h"
#include "platform/Bitmap.h"
#include "platform/Canvas.h"
#include "platform/FormControlWindow.h"

class TAttributeList;
class TCellBasic;
class TImageObj;
class TProperties;
class TSectionList;
class ThtmlForm;

// The sizes a control may take, whatever a page asks for.
inline constexpr int kMinControlSize = 1;
inline constexpr int kMaxControlSize = 32767;
int BoundedControlSize(long long pixels);

class TFormControlObj : public TIDObject {
  public:
    TFormControlObj(TSectionList* document, ThtmlForm* form, const TAttributeList& attributes);
    ~TFormControlObj() override;
    TFormControlObj(const TFormControlObj&) = delete;
    TFormControlObj& operator=(const TFormControlObj&) = delete;

    // ---- The operations every kind answers, in this order ----
    int GetTopY() override { return topY; }
    virtual platform::FormControlWindow* PlatformControl() const { return control.get(); }
    // Raises the change event when the value is no longer the one remembered.
    virtual void CheckChanged() {}
    // Remembers the value as the focus arrives.
    virtual void RememberValue() {}
    // The element's style: font and colours, vertical-align, margins, width and height.
    virtual void ApplyProperties(TProperties& props);
    // Draws the control's picture with its top-left corner at (x, y).
    virtual void PaintForPrint(platform::Canvas& canvas, int x, int y);
    virtual void RestoreInitial() {}
    // The index-th pair this control submits (false when there are no more); `text` is
    // left empty for an index that gives nothing.
    virtual bool SubmitPair(int index, std::string& text) { return false; }
    // The index-th value this control gave, back from the viewer's history.
    virtual void LoadValue(int index, const std::string& value) {}
    virtual void ClearData() {}
    // Sizes the window for the canvas's text measures.
    virtual void FitSize(platform::Canvas& canvas) {}

    // ---- Beyond those ----
    // A click on the page at document coordinates; only an image input acts on it.
    virtual void ImageClick(int x, int y) {}
    // Whether a value kept by FormData under this control's name came from it; the value
    // then goes back through LoadValue.
    virtual bool GaveValue(const std::string& value) const { return true; }
    // Whether the control has a window on the page (a hidden input has none).
    bool IsVisible() const { return control != nullptr; }
    int Width() const;
    int Height() const;
    // Moves the window where the section drew its character (screen coordinates) and
    // shows it; Hide parks it out of sight.
    void ShowAt(int x, int y);
    void Hide();
    bool HasFocus() const { return focused; }
    // False once the control is gone. The host's handlers of this control's events may
    // load another page (and so free the control): code that still has work to do after
    // raising one holds a copy of this and looks first.
    std::shared_ptr<const bool> Alive() const { return alive_; }
    // Takes the next place in the Tab order after `previous`, which it then becomes.
    void PlaceInTabOrder(platform::TabStopWindow*& previous);
    ThtmlForm* Form() const { return form; }

    int topY = 0;  // y of its line, document space
    std::shared_ptr<platform::Bitmap> printBitmap;
    std::unique_ptr<TAttributeList> attributes;
    int textOffset = 0;  // offset of its character 2 in the section's text
    TSectionList* document;
    ThtmlForm* form;
    std::string value;   // VALUE
    std::string name;    // NAME
    std::string idText;  // ID
    int alignment = 4;   // bottom
    int gapLeft = 0, gapRight = 0;
    int givenHeight = 0, givenWidth = 0;
    bool disabled = false;
    std::unique_ptr<platform::FormControlWindow> control;
    bool painted = false;  // drawn since the last scroll
    bool focused = false;
    std::string clickScript, focusScript, blurScript, changeScript;
    int tabIndex = 0;  // TABINDEX, 0 when not given

  protected:
    // Makes the window through the document's host, parked out of sight.
    void CreateWindow(platform::FormControlKind kind);
    // A click on the window; the common part reports it to the host.
    virtual void Clicked();
    void FocusChanged(bool arrived);
    void ReportChange();
    // NAME "=" text, as submitted.
    std::string Pair(const std::u16string& text) const;
    std::string Pair(const std::string& utf8) const { return name + "=" + utf8; }
    // The font the control's texts are measured and printed in.
    platform::FontSpec font;
    platform::TColor textColor = 0;
    // The frame of a printed box: sunken for fields, raised for buttons; a black line on
    // monochrome paper when the viewer asks for it.
    void PaintFrame(platform::Canvas& canvas, const platform::Rect& box, bool raised, bool greyed);
    bool Monochrome(platform::Canvas& canvas) const;
    // Text for a printed picture, vertically centred in the box from `inset` pixels in.
    void PaintText(platform::Canvas& canvas, const platform::Rect& box, int inset,
                   const std::u16string& text);

  private:
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

// INPUT text, password and file (and unknown types): a single-line edit.
class TEditFormControlObj : public TFormControlObj {
  public:
    TEditFormControlObj(TSectionList* document, ThtmlForm* form, const TAttributeList& attributes,
                        const std::string& type);
    void CheckChanged() override;
    void RememberValue() override;
    void PaintForPrint(platform::Canvas& canvas, int x, int y) override;
    void RestoreInitial() override;
    bool SubmitPair(int index, std::string& text) override;
    void LoadValue(int index, const std::string& value) override;
    void FitSize(platform::Canvas& canvas) override;

    bool password = false;
    bool isFile = false;
    int size = 15;      // SIZE, in characters
    int maxLength = 0;  // MAXLENGTH, 0 for none
    std::u16string savedText;
};

// INPUT submit, reset and button, and the "Browse..." button of a file input.
class TButtonFormControlObj : public TFormControlObj {
  public:
    enum class Kind { Submit, Reset, Button, Browse };
    TButtonFormControlObj(TSectionList* document, ThtmlForm* form, const TAttributeList& attributes,
                          Kind kind, TEditFormControlObj* edit = nullptr);
    void PaintForPrint(platform::Canvas& canvas, int x, int y) override;
    void FitSize(platform::Canvas& canvas) override;
    bool GaveValue(const std::string&) const override { return false; }

    Kind kind;
    std::u16string caption;
    TEditFormControlObj* edit;  // the file input's edit, for Browse

  protected:
    void Clicked() override;
};

class TCheckBoxFormControlObj : public TFormControlObj {
  public:
    TCheckBoxFormControlObj(TSectionList* document, ThtmlForm* form,
                            const TAttributeList& attributes);
    void CheckChanged() override;
    void RememberValue() override;
    void PaintForPrint(platform::Canvas& canvas, int x, int y) override;
    void RestoreInitial() override;
    bool SubmitPair(int index, std::string& text) override;
    void LoadValue(int index, const std::string& value) override;
    void ClearData() override;
    void FitSize(platform::Canvas& canvas) override;
    bool GaveValue(const std::string& value) const override;

    bool initiallyChecked = false;
    bool savedChecked = false;
};

class TRadioButtonFormControlObj : public TFormControlObj {
  public:
    TRadioButtonFormControlObj(TSectionList* document, ThtmlForm* form,
                               const TAttributeList& attributes, TCellBasic* cell);
    void CheckChanged() override;
    void RememberValue() override;
    void PaintForPrint(platform::Canvas& canvas, int x, int y) override;
    void RestoreInitial() override;
    bool SubmitPair(int index, std::string& text) override;
    void LoadValue(int index, const std::string& value) override;
    void ClearData() override;
    void FitSize(platform::Canvas& canvas) override;
    bool GaveValue(const std::string& value) const override;

    // Checks this button and unchecks the others of its group.
    void Select();
    // An arrow key: to the previous (-1) or next (+1) button of the group that is not
    // disabled, which takes the focus and is chosen; nothing at either end.
    void MoveInGroup(int step);

    bool initiallyChecked = false;
    bool savedChecked = false;
    TCellBasic* cell;
    std::vector<TRadioButtonFormControlObj*>* group = nullptr;
    std::size_t groupIndex = 0;

  protected:
    void Clicked() override;
};

class THiddenFormControlObj : public TFormControlObj {
  public:
    using TFormControlObj::TFormControlObj;
    bool SubmitPair(int index, std::string& text) override;
};

// INPUT image: the picture is an image in the text; the control's own window is a tiny
// button that gives it a place in the Tab order.
class TImageFormControlObj : public TFormControlObj {
  public:
    TImageFormControlObj(TSectionList* document, ThtmlForm* form, const TAttributeList& attributes);
    ~TImageFormControlObj() override;
    void PaintForPrint(platform::Canvas&, int, int) override {}
    bool SubmitPair(int index, std::string& text) override;
    void FitSize(platform::Canvas& canvas) override;
    void ImageClick(int x, int y) override;
    // The pairs name.x and name.y go out with the next submission only.
    bool GaveValue(const std::string&) const override { return false; }

    TImageObj* image = nullptr;
    bool clicked = false;
    int clickX = 0, clickY = 0;

  protected:
    void Clicked() override;

  private:
    void SubmitClick();
};

// An OPTION of a SELECT.
struct TSelectOption {
    std::u16string text;
    std::string value;  // UTF-8
    bool selected = false;
};

// What the list box and the drop-down list share: their options.
class TSelectFormControlObj : public TFormControlObj {
  public:
    TSelectFormControlObj(TSectionList* document, ThtmlForm* form,
                          const TAttributeList& attributes);
    // An option as the page gives it: a VALUE (or none) and its text.
    void AddOption(const std::u16string& text, const std::string& value, bool hasValue,
                   bool selected);
    bool GaveValue(const std::string& value) const override;

    std::vector<TSelectOption> options;

  protected:
    // The widest option text in the control's font, measured once per font.
    int WidestOption(platform::Canvas& canvas);
    void FillItems();
    // The options by value.
    const std::unordered_multimap<std::string, int>& ValueIndex() const;
    mutable std::unordered_multimap<std::string, int> valueIndex_;
    int optionsMeasured_ = -1;
    int widest_ = 0;
    platform::FontSpec measuredFont_;
};

// SELECT with MULTIPLE or a SIZE above 1.
class TListBoxFormControlObj : public TSelectFormControlObj {
  public:
    TListBoxFormControlObj(TSectionList* document, ThtmlForm* form,
                           const TAttributeList& attributes);
    void CheckChanged() override;
    void RememberValue() override;
    void PaintForPrint(platform::Canvas& canvas, int x, int y) override;
    void RestoreInitial() override;
    bool SubmitPair(int index, std::string& text) override;
    void LoadValue(int index, const std::string& value) override;
    void FitSize(platform::Canvas& canvas) override;

    bool multiple = false;
    int rows = 0;  // SIZE; 0 when not given
    int savedCount = 0;
    std::vector<bool> savedSelection;  // of the first 51 items
    int VisibleRows() const;
};

// Any other SELECT: a drop-down list.
class TComboFormControlObj : public TSelectFormControlObj {
  public:
    TComboFormControlObj(TSectionList* document, ThtmlForm* form, const TAttributeList& attributes);
    void CheckChanged() override;
    void RememberValue() override;
    void PaintForPrint(platform::Canvas& canvas, int x, int y) override;
    void RestoreInitial() override;
    bool SubmitPair(int index, std::string& text) override;
    void LoadValue(int index, const std::string& value) override;
    void FitSize(platform::Canvas& canvas) override;

    int savedIndex = -1;
};

// TEXTAREA.
class TTextAreaFormControlObj : public TFormControlObj {
  public:
    enum class Wrap { Off, Hard, Soft };
    TTextAreaFormControlObj(TSectionList* document, ThtmlForm* form,
                            const TAttributeList& attributes);
    void CheckChanged() override;
    void RememberValue() override;
    void PaintForPrint(platform::Canvas& canvas, int x, int y) override;
    void RestoreInitial() override;
    bool SubmitPair(int index, std::string& text) override;
    void LoadValue(int index, const std::string& value) override;
    void FitSize(platform::Canvas& canvas) override;

    // The element's content, line ends as CR LF.
    void AddText(const std::u16string& text) { initialText += text; }

    int rows = 5;
    int cols = 30;
    Wrap wrap = Wrap::Soft;
    std::u16string initialText;
    std::u16string savedText;
};

// Makes the control for an INPUT (by its TYPE), SELECT or TEXTAREA; an image input's
// picture and a file input's button are made by the section that places them.
enum class TFormControlTag { Input, Select, TextArea };
std::unique_ptr<TFormControlObj> CreateFormControl(TFormControlTag tag, TSectionList* document,
                                                   ThtmlForm* form,
                                                   const TAttributeList& attributes,
                                                   TCellBasic* cell);
// The INPUT TYPE as the controls read it: lower case, at most 20 characters.
std::string InputType(const TAttributeList& attributes);
