#pragma once
// Font runs of a text section: where each font starts, its metrics, and for links
// the four fonts of a link's states and what the link points at.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "html/Anchors.h"
#include "layout/SmallList.h"
#include "platform/TabStopWindow.h"
#include "style/Fonts.h"

class TSection;
class TSectionList;

class TFontObj {
  public:
    // `measured`, when given, are the metrics of `font` already asked of the screen.
    TFontObj(TSection* owner, const TMyFont& font, int offset,
             const platform::TextMetrics* measured = nullptr);
    // A copy for a print copy of the document (no tab stop).
    TFontObj(TSection* owner, const TFontObj& source);

    void MarkVisited(bool value);
    void SetHovered(bool value);
    // Hover on this run and on its neighbours in the document's link list that belong
    // to the same link.
    void SetLinkHovered(std::vector<TFontObj*>& linkList, bool value);
    void ApplyVariant(const ThtFontInfo& info);
    void MeasureMetrics(const platform::TextMetrics* measured = nullptr);
    bool IsLink() const { return link_ && !link_->target.Url.empty(); }

    // What a link or a title gives a run. Most runs have neither, so it lives apart.
    const TUrlTarget& LinkTarget() const { return link_ ? link_->target : kNoLink; }
    void SetLinkTarget(const TUrlTarget& target) { Link().target.Copy(target); }
    // The link's fonts for its four states (shared by the runs of one link), or none.
    const std::shared_ptr<const TFontInfoArray>& LinkVariants() const {
        return link_ ? link_->variants : kNoVariants;
    }
    void SetLinkVariants(std::shared_ptr<const TFontInfoArray> variants);
    // The run is no longer part of a link.
    void ClearLink();
    const std::string& HintText() const { return link_ ? link_->hintText : kNoText; }  // UTF-8
    void SetHintText(const std::string& text);
    platform::TabStopWindow* TabStop() const { return link_ ? link_->tabStop.get() : nullptr; }
    // Makes this run its link's place in the Tab order: a window from the document's
    // host, whose focus shows on the link and whose Enter follows it.
    void AttachTabStop(TSectionList* document);
    void DetachTabStop();

    // Where the run stands in the Tab order (-1: nowhere); only link runs have one.
    int TabOrder() const { return link_ ? link_->tabOrder : -1; }
    void SetTabOrder(int order) { Link().tabOrder = order; }

    // (Fields are ordered and sized to fit 64 bytes: a page has a run for every change
    // of font.)
    TSection* ownerSection;
    int topY = 0;
    int textOffset = 0;
    TMyFont font;
    int maxCharWidth = 0;
    // Pixels. Fonts are at most 10000 pixels high, so these fit; a value that would
    // not is held at the type's limit.
    std::int16_t metricHeight = 0;
    std::int16_t lineContribution = 0;
    std::int16_t descent = 0;
    std::int16_t italicOverhang = 0;
    std::int8_t scriptShift = 0;  // 0, 8 subscript, 9 superscript
    bool isVisited : 1 = false;
    bool isHovered : 1 = false;
    bool hasFocus : 1 = false;
    // The link can be reached with the Tab key (only the first run of a link); the
    // viewer gives it a focusable stand-in window in tab order.
    bool hasTabStop : 1 = false;
    // The run is in the document's list of link runs (AddLinkRun).
    bool inLinkList : 1 = false;

  private:
    struct TRunLink {
        TUrlTarget target;
        std::shared_ptr<const TFontInfoArray> variants;
        std::unique_ptr<platform::TabStopWindow> tabStop;
        std::string hintText;
        int tabOrder = -1;
    };
    static const TUrlTarget kNoLink;
    static const std::shared_ptr<const TFontInfoArray> kNoVariants;
    static const std::string kNoText;

    TRunLink& Link() {
        if (!link_) link_ = std::make_unique<TRunLink>();
        return *link_;
    }
    void SelectVariant();

    std::unique_ptr<TRunLink> link_;
};

// The font runs of one section, ordered by textOffset; the first starts at 0.
class TFontList {
  public:
    TFontList() = default;
    TFontList(const TFontList&) = delete;
    TFontList& operator=(const TFontList&) = delete;
    ~TFontList();

    int Count() const { return static_cast<int>(runs_.size()); }
    TFontObj& operator[](int index) { return *runs_[static_cast<std::size_t>(index)]; }
    const TFontObj& operator[](int index) const { return *runs_[static_cast<std::size_t>(index)]; }
    TFontObj& Add(std::unique_ptr<TFontObj> run);
    TFontObj& Last() { return *runs_.back(); }
    bool Empty() const { return runs_.empty(); }
    // Gives back the room kept for runs that did not come.
    void ShrinkToFit() { runs_.shrink_to_fit(); }

    int IndexAt(int offset) const;
    TFontObj* FontAt(int offset, int& overhang);
    TFontObj* RunAt(int offset);
    // After the character at offset was removed: later runs move down one; a run that
    // now starts where its predecessor does replaces it.
    void ShiftAfterRemoval(int offset, TSectionList* document);
    // Drops a run, taking it off the document's link list.
    void RemoveAt(int index, TSectionList* document);

  private:
    TSmallList<TFontObj*> runs_;  // owned
};
