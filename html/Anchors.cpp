#include "html/Anchors.h"

#include <algorithm>

#include "layout/Document.h"

#include "platform/Text.h"

namespace {
std::int32_t linkCounter = 10;
}

void TUrlTarget::Assign(const std::string& url, const std::string& target) {
    Url = url;
    Target = target;
    LinkId = ++linkCounter;
}

void TUrlTarget::Copy(const TUrlTarget& other) {
    Url = other.Url;
    Target = other.Target;
    LinkId = other.LinkId;
    TabIndex = other.TabIndex;
}

void TUrlTarget::Clear() {
    Url.clear();
    Target.clear();
    LinkId = 0;
    TabIndex = 0;
}

std::int32_t TUrlTarget::LastLinkId() {
    return linkCounter;
}

int TChPosObj::AnchorY() const {
    // Source position -> the cursor position of the character there (or the next one)
    // -> the top of its line.
    if (!Document) return 0;
    const int cursor = Document->CursorPosOfSource(SourcePos, false);
    int x = 0, y = 0;
    if (!Document->PointOfCursor(nullptr, cursor, x, y)) return 0;
    return y;
}

std::size_t TIDNameList::Locate(const std::string& name, bool& found) const {
    std::size_t low = 0, high = entries_.size();
    found = false;
    while (low < high) {
        const std::size_t mid = (low + high) / 2;
        const int c = platform::AnsiCompareText(entries_[mid].name, name);
        if (c < 0) {
            low = mid + 1;
        } else {
            if (c == 0) found = true;
            high = mid;
        }
    }
    return low;
}

TIDObject::~TIDObject() {
    if (anchorList_) anchorList_->Forget(this);
}

void TIDNameList::AddObject(const std::string& name, TIDObject* object) {
    std::unique_ptr<TIDObject> owned;
    if (dynamic_cast<TChPosObj*>(object)) owned.reset(object);
    else if (object)
        object->anchorList_ = this;  // the list's own entries need no call back
    bool found;
    std::size_t at = Locate(name, found);
    if (found) {
        TIDObject* replaced = entries_[at].owned ? nullptr : entries_[at].object;
        entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(at));
        // An object left without a name here no longer needs to call back.
        if (replaced && replaced != object &&
            std::none_of(entries_.begin(), entries_.end(),
                         [replaced](const Entry& entry) { return entry.object == replaced; }))
            replaced->anchorList_ = nullptr;
    }
    entries_.insert(entries_.begin() + static_cast<std::ptrdiff_t>(at),
                    Entry{name, object, std::move(owned)});
}

void TIDNameList::AddPositionAnchor(const std::string& name, std::int32_t position) {
    AddObject(name, new TChPosObj(document_, position));
}

void TIDNameList::Forget(const TIDObject* object) {
    std::erase_if(entries_, [object](const Entry& entry) { return entry.object == object; });
}

void TIDNameList::Clear() {
    for (Entry& entry : entries_)
        if (!entry.owned && entry.object) entry.object->anchorList_ = nullptr;
    entries_.clear();
}

TIDObject* TIDNameList::Find(const std::string& name) const {
    bool found;
    const std::size_t at = Locate(name, found);
    return found ? entries_[at].object : nullptr;
}
