#include "html/Anchors.h"

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

void TIDNameList::AddObject(const std::string& name, TIDObject* object) {
    std::unique_ptr<TIDObject> owned;
    if (dynamic_cast<TChPosObj*>(object)) owned.reset(object);
    bool found;
    std::size_t at = Locate(name, found);
    if (found) entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(at));
    entries_.insert(entries_.begin() + static_cast<std::ptrdiff_t>(at),
                    Entry{name, object, std::move(owned)});
}

void TIDNameList::AddPositionAnchor(const std::string& name, std::int32_t position) {
    AddObject(name, new TChPosObj(document_, position));
}

void TIDNameList::Clear() {
    entries_.clear();
}

TIDObject* TIDNameList::Find(const std::string& name) const {
    bool found;
    const std::size_t at = Locate(name, found);
    return found ? entries_[at].object : nullptr;
}
