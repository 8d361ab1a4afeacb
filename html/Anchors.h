#pragma once
// Link targets and named anchors: what a link points at, and what a "#name" scrolls to.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class TSectionList;  // the document tree

// One link destination. Every text run of one link shares its LinkId.
class TUrlTarget {
  public:
    TUrlTarget() = default;

    // Sets both texts and gives the link the next number of the process-wide counter.
    void Assign(const std::string& url, const std::string& target);
    void Copy(const TUrlTarget& other);
    void Clear();

    std::string Url;
    std::string Target;
    std::int32_t LinkId = 0;
    std::int32_t TabIndex = 0;

    // The last number given out; it starts at 10 and never goes back.
    static std::int32_t LastLinkId();
};

class TIDNameList;

// Anything an anchor name can point at; the document tree's items derive from it.
class TIDObject {
  public:
    TIDObject() = default;
    // A copy (an item of a print copy) is in no anchor list.
    TIDObject(const TIDObject&) {}
    TIDObject& operator=(const TIDObject&) { return *this; }
    // An object freed before its document (a picture in text dropped before BODY, an
    // item that failed to lay out) takes its names out of the anchor list, so that a
    // later "#name" cannot reach it.
    virtual ~TIDObject();
    // The document y coordinate of the target.
    virtual int GetTopY() = 0;

  private:
    friend class TIDNameList;
    TIDNameList* anchorList_ = nullptr;  // the list that names it, if any
};

// An anchor at a character position of the source (an ID attribute on any tag).
class TChPosObj : public TIDObject {
  public:
    TChPosObj(TSectionList* document, std::int32_t sourcePos)
        : Document(document), SourcePos(sourcePos) {}

    int GetTopY() override { return AnchorY(); }
    // The y of the character at SourcePos once the document is laid out; 0 while the
    // position cannot be placed.
    int AnchorY() const;

    TSectionList* Document;
    std::int32_t SourcePos;
};

// Anchor names (compared ignoring case, accents counting) to their targets, kept sorted.
// The list owns the TChPosObj entries; every other object belongs to the document tree.
class TIDNameList {
  public:
    explicit TIDNameList(TSectionList* document = nullptr) : document_(document) {}
    ~TIDNameList() { Clear(); }
    TIDNameList(const TIDNameList&) = delete;
    TIDNameList& operator=(const TIDNameList&) = delete;

    // A name already present is replaced, so the last definition wins. A TChPosObj
    // passed here becomes the list's own.
    void AddObject(const std::string& name, TIDObject* object);
    void AddPositionAnchor(const std::string& name, std::int32_t position);
    // Every name of the object goes (its destructor calls this).
    void Forget(const TIDObject* object);
    void Clear();

    int Count() const { return static_cast<int>(entries_.size()); }
    // The target of a name, or none.
    TIDObject* Find(const std::string& name) const;
    const std::string& NameAt(int index) const {
        return entries_[static_cast<std::size_t>(index)].name;
    }
    TIDObject* ObjectAt(int index) const {
        return entries_[static_cast<std::size_t>(index)].object;
    }

  private:
    struct Entry {
        std::string name;
        TIDObject* object = nullptr;
        std::unique_ptr<TIDObject> owned;
    };
    // Index of the first entry not ordered before name; `found` when it has that name.
    std::size_t Locate(const std::string& name, bool& found) const;

    TSectionList* document_;
    std::vector<Entry> entries_;
};
