// Building a text section: characters, font runs, links and objects as the builder
// hands them over, and the clean-up of spaces when the section is closed.

#include "layout/Section.h"

#include <algorithm>
#include <cstdlib>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "html/Attributes.h"
#include "html/Token.h"
#include "layout/Document.h"
#include "layout/ImageObj.h"
#include "layout/TextCase.h"
#include "platform/Text.h"
#include "style/Lengths.h"
#include "style/Properties.h"

namespace {

// The link fonts of the properties as a copy that runs can share: the document's last
// one when it is the same.
std::shared_ptr<const TFontInfoArray> SharedLinkFonts(TSectionList* document,
                                                      const TProperties& props) {
    if (!props.LinkFonts) return nullptr;
    if (!document) return std::make_shared<const TFontInfoArray>(*props.LinkFonts);
    auto& last = document->lastLinkFonts;
    if (!last || !(*last == *props.LinkFonts))
        last = std::make_shared<const TFontInfoArray>(*props.LinkFonts);
    return last;
}

}  // namespace

TSection::TSection(TSectionList* document, bool startsBlock, TProperties& props,
                   const TUrlTarget* openLink, TCellBasic* cell, const TAttributeList* attributes)
    : TSectionBase(document) {
    TFontObj& run =
        fontRuns.Add(std::make_unique<TFontObj>(this, props.GetFont(), 0, &props.GetFontMetrics()));
    run.SetHintText(props.ElementTitle);
    if (openLink && !openLink->Url.empty()) {
        run.SetLinkVariants(SharedLinkFonts(document, props));
        run.SetLinkTarget(*openLink);
        if (document) {
            document->AddLinkRun(&run);
            if (!document->tooManyLinks) {
                run.AttachTabStop(document);
                document->AddTabEntry(openLink->TabIndex, &run, nullptr);
            }
        }
    }
    minLineHeight = props.GetLineHeight(std::abs(props.GetFont().height));
    if (minLineHeight > 0) minLineHeight = BoundedLength(minLineHeight);
    if (startsBlock) {
        bool isPercent = false;
        const int indent = props.GetTextIndent(isPercent);
        if (isPercent)
            textIndentPercent = static_cast<std::int16_t>(std::clamp(indent, -30000, 90));
        else
            textIndentPx = BoundedLength(indent);
    }
    if (attributes) {
        if (const TAttribute* clear = attributes->FindAttribute(symClear)) {
            const std::string value = platform::AsciiLowerCase(clear->StrValue);
            clearSides = value == "left" ? 1 : value == "right" ? 2 : 3;
        }
        const std::string& id = attributes->IdValue();
        if (!id.empty() && document && document->anchors) {
            document->anchors->AddObject(id, this);
            isAnchorTarget = true;  // something points here: never dropped
        }
    }
    int clear = 0;
    if (props.GetClear(clear)) clearSides = clear;
    const PropValue& align = props[piTextAlign];
    if (align.isString()) {
        const std::string_view a = align.string();  // compared by size first
        textAlign = a == "right" ? 3 : a == "center" ? 2 : a == "justify" ? 4 : 1;
    }
}

const std::vector<std::unique_ptr<TFloatingObj>> TSection::kNoObjects;
const std::vector<TFormControlObj*> TSection::kNoControls;
const std::string TSection::kNoFlags;

TSection::TSection(TSectionList* document, const TSection& source)
    : TSectionBase(document, source),
      sectionOrdinal(source.sectionOrdinal),
      minLineHeight(source.minLineHeight),
      textBuffer(source.textBuffer),
      sourceRuns(source.sourceRuns),
      textIndentPx(source.textIndentPx),
      textIndentPercent(source.textIndentPercent),
      textAlign(source.textAlign),
      clearSides(source.clearSides),
      isAnchorTarget(source.isAnchorTarget),
      finished_(source.finished_) {
    cursorCount = source.cursorCount;
    if (!source.Controls().empty()) Extras().controls = source.Controls();
    if (!source.BreakFlags().empty()) Extras().breakFlags = source.BreakFlags();
    for (int i = 0; i < source.fontRuns.Count(); ++i)
        fontRuns.Add(std::make_unique<TFontObj>(this, source.fontRuns[i]));
    // Pictures are printed only when they are shown; panels always.
    const bool pictures = !source.ownerDocument || source.ownerDocument->showImages;
    for (const auto& object : source.InlineObjects())
        if (pictures || !object->IsImage())
            Extras().inlineObjects.push_back(object->CreatePrintCopy(document));
}

TSection::~TSection() {
    // The document keeps plain pointers to link runs (link list, tab order, hover).
    if (ownerDocument)
        for (int i = 0; i < fontRuns.Count(); ++i)
            if (fontRuns[i].IsLink() || fontRuns[i].hasTabStop) ownerDocument->ForgetLinkRun(&fontRuns[i]);
}

std::unique_ptr<TSectionBase> TSection::CreatePrintCopy(TSectionList* document) const {
    return std::unique_ptr<TSectionBase>(new TSection(document, *this));
}

namespace {

// Source positions are kept as runs of consecutive positions (most text is copied from
// the page as it stands), from the first character appended on.
// The first k from `k` on whose position does not continue the run, base + k; every
// character of a page goes through here, so four are compared at a time where the
// processor can.
std::size_t RunContinuesTo(const std::int32_t* positions, std::size_t k, std::size_t count,
                           std::int32_t base) {
#if defined(__SSE2__)
    const __m128i steps = _mm_set_epi32(3, 2, 1, 0);
    for (; k + 4 <= count; k += 4) {
        const __m128i expected =
            _mm_add_epi32(_mm_set1_epi32(base + static_cast<std::int32_t>(k)), steps);
        const __m128i found = _mm_loadu_si128(reinterpret_cast<const __m128i*>(positions + k));
        const auto same =
            static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi32(found, expected)));
        if (same != 0xFFFF) return k + static_cast<unsigned>(__builtin_ctz(~same)) / 4;
    }
#endif
    while (k < count && positions[k] == base + static_cast<std::int32_t>(k)) ++k;
    return k;
}

void AppendSourceRuns(TSmallList<IndexObj>& runs, int at, const std::int32_t* positions,
                      std::size_t count) {
    if (count == 0) return;
    if (!positions) {
        // Characters of no source place all stand at 0, each a run of its own.
        for (std::size_t k = 0; k < count; ++k) {
            const int index = at + static_cast<int>(k);
            if (runs.empty() || runs.back().sourcePos + (index - runs.back().textOffset) != 0)
                runs.push_back({index, 0});
        }
        return;
    }
    std::size_t k = 0;
    if (runs.empty()) runs.push_back({at, positions[k++]});
    // Position of character k if it continues the last run.
    std::int32_t base = runs.back().sourcePos + (at - runs.back().textOffset);
    while (k < count) {
        k = RunContinuesTo(positions, k, count, base);
        if (k == count) break;
        runs.push_back({at + static_cast<int>(k), positions[k]});
        base = positions[k] - static_cast<std::int32_t>(k);
        ++k;
    }
}

std::vector<std::int32_t> ExpandSourceRuns(const TSmallList<IndexObj>& runs, std::size_t length) {
    std::vector<std::int32_t> positions(length, 0);
    for (std::size_t r = 0; r < runs.size(); ++r) {
        const std::size_t end = r + 1 < runs.size() ? static_cast<std::size_t>(runs[r + 1].textOffset) : length;
        for (std::size_t i = static_cast<std::size_t>(runs[r].textOffset); i < end && i < length; ++i)
            positions[i] = runs[r].sourcePos + static_cast<int>(i) - runs[r].textOffset;
    }
    return positions;
}

TSmallList<IndexObj> EncodeSourceRuns(const std::vector<std::int32_t>& positions) {
    TSmallList<IndexObj> runs;
    AppendSourceRuns(runs, 0, positions.data(), positions.size());
    return runs;
}

}  // namespace

void TSection::AppendChar(char16_t ch, int sourceIndex, bool noBreak) {
    const std::int32_t position = sourceIndex;
    AppendText(std::u16string_view(&ch, 1), &position, 0, noBreak);
}

void TSection::AppendRun(const TokenObj& token, int textTransform, bool noBreak) {
    AppendText(token.AsWideString(), token.Positions().data(), textTransform, noBreak);
}

void TSection::AppendText(std::u16string_view text, const std::int32_t* positions,
                          int textTransform, bool noBreak) {
    // The flags are written out only from the first character that may not break.
    const bool mayBreak = !noBreak && !IsPreformatted();
    if (!mayBreak || !BreakFlags().empty()) {
        std::string& flags = Extras().breakFlags;
        flags.resize(textBuffer.size(), 'y');
        flags.append(text.size(), mayBreak ? 'y' : 'n');
    }
    AppendSourceRuns(sourceRuns, static_cast<int>(textBuffer.size()), positions, text.size());
    if (textTransform == 1) textBuffer += UpperCaseText(text);
    else if (textTransform == 2) textBuffer += LowerCaseText(text);
    else
        textBuffer += text;
    cursorCount = static_cast<int>(textBuffer.size());
}

TFontObj& TSection::NewFontRun(TProperties& props) {
    TFontObj& last = fontRuns.Last();
    const int here = static_cast<int>(textBuffer.size());
    if (last.textOffset == here) {
        last.font = props.GetFont();
        last.MeasureMetrics(&props.GetFontMetrics());
        return last;
    }
    auto run = std::make_unique<TFontObj>(this, props.GetFont(), here, &props.GetFontMetrics());
    if (last.IsLink() || last.LinkVariants()) {
        run->SetLinkTarget(last.LinkTarget());
        run->SetLinkVariants(last.LinkVariants());
    }
    return fontRuns.Add(std::move(run));
}

void TSection::StartFontRun(TProperties& props) {
    TFontObj& run = NewFontRun(props);
    run.SetHintText(props.ElementTitle);
    if (run.IsLink()) {
        if (props.LinkFonts) run.SetLinkVariants(SharedLinkFonts(ownerDocument, props));
        if (ownerDocument) ownerDocument->AddLinkRun(&run);
    }
    int align = 0;
    run.scriptShift = static_cast<std::int8_t>(
        props.GetVerticalAlign(align) && (align == kAlignSub || align == kAlignSuper) ? align : 0);
}

void TSection::LinkBoundary(bool isStart, TProperties& props, const TUrlTarget* openLink) {
    TFontObj& run = NewFontRun(props);
    run.SetHintText(props.ElementTitle);
    int align = 0;
    run.scriptShift = static_cast<std::int8_t>(
        props.GetVerticalAlign(align) && (align == kAlignSub || align == kAlignSuper) ? align : 0);
    if (isStart && openLink) {
        run.SetLinkVariants(SharedLinkFonts(ownerDocument, props));
        run.SetLinkTarget(*openLink);
        if (ownerDocument) {
            ownerDocument->AddLinkRun(&run);
            if (!ownerDocument->tooManyLinks && !run.hasTabStop) {
                run.AttachTabStop(ownerDocument);
                ownerDocument->AddTabEntry(openLink->TabIndex, &run, nullptr);
            }
        }
    } else {
        // A link without an address still got a tab stop; the run may be this same one,
        // reused, and the section may be dropped later: the tab order must let go of it.
        if (ownerDocument && (run.IsLink() || run.hasTabStop)) ownerDocument->ForgetLinkRun(&run);
        run.DetachTabStop();
        run.ClearLink();
    }
}

TFloatingObj* TSection::PlaceObject(std::unique_ptr<TFloatingObj> object, int sourceIndex) {
    object->textOffset = static_cast<int>(textBuffer.size());
    TFloatingObj* placed = object.get();
    Extras().inlineObjects.push_back(std::move(object));
    AppendChar(kObjectChar, sourceIndex);
    return placed;
}

void TSection::PlaceControl(TFormControlObj* control, int sourceIndex) {
    control->textOffset = static_cast<int>(textBuffer.size());
    Extras().controls.push_back(control);
    if (ownerDocument) ownerDocument->allControls.push_back(control);
    AppendChar(kControlChar, sourceIndex);
}

TFormControlObj* TSection::PlaceControl(TFormControlTag tag, ThtmlForm& form, TProperties& props,
                                        int sourceIndex, TCellBasic* cell,
                                        const TAttributeList& attrs,
                                        const std::string& imageSource) {
    TSectionList* doc = ownerDocument;
    TFormControlObj* control = form.AddControl(CreateFormControl(tag, doc, &form, attrs, cell));
    const auto named = [doc](TFormControlObj* c) {
        if (!c->idText.empty() && doc && doc->anchors)
            doc->anchors->AddObject(platform::AnsiUpperCase(c->idText), c);
    };
    // Every control with a window takes the Tab order: TABINDEX first, by its value,
    // the others in the order of the page, among the links.
    const auto place = [&](TFormControlObj* c) {
        PlaceControl(c, sourceIndex);
        if (doc && c->control) doc->AddTabEntry(c->tabIndex >= 1 ? c->tabIndex : 0, nullptr, c);
    };
    if (dynamic_cast<THiddenFormControlObj*>(control)) {
        if (doc) doc->allControls.push_back(control);
        named(control);
        return control;
    }
    if (auto* input = dynamic_cast<TImageFormControlObj*>(control)) {
        auto picture = std::make_unique<TImageObj>(doc, attrs, imageSource);
        picture->ApplyProperties(props);
        auto* placed = static_cast<TImageObj*>(PlaceObject(std::move(picture), sourceIndex));
        placed->formControl = input;
        input->image = placed;
    }
    control->ApplyProperties(props);
    place(control);
    named(control);
    if (auto* edit = dynamic_cast<TEditFormControlObj*>(control); edit && edit->isFile) {
        edit->value.clear();
        TFormControlObj* browse = form.AddControl(std::make_unique<TButtonFormControlObj>(
            doc, &form, attrs, TButtonFormControlObj::Kind::Browse, edit));
        browse->ApplyProperties(props);
        place(browse);
    }
    return control;
}

namespace {

// Removes the marked characters of a section under construction in one pass,
// keeping font runs, objects and controls on their characters.
struct Compactor {
    TSection& s;
    std::vector<char> remove;  // made on the first mark: most passes remove nothing
    std::size_t marked = 0;
    explicit Compactor(TSection& section) : s(section) {}

    void Mark(std::size_t i) {
        if (remove.empty()) remove.assign(s.textBuffer.size(), 0);
        if (!remove[i]) ++marked;
        remove[i] = 1;
    }

    void Apply(TSectionList* document) {
        if (marked == 0) return;
        const std::size_t n = s.textBuffer.size();
        std::vector<int> keptBefore(n + 1, 0);
        for (std::size_t i = 0; i < n; ++i) keptBefore[i + 1] = keptBefore[i] + (remove[i] ? 0 : 1);
        std::vector<std::int32_t> positions = ExpandSourceRuns(s.sourceRuns, n);
        std::string* flags = s.WrittenBreakFlags();
        std::size_t out = 0;
        for (std::size_t i = 0; i < n; ++i) {
            if (remove[i]) continue;
            s.textBuffer.Set(out, s.textBuffer[i]);
            if (flags) (*flags)[out] = (*flags)[i];
            positions[out] = positions[i];
            ++out;
        }
        s.textBuffer.Truncate(out);
        if (flags) flags->resize(out);
        positions.resize(out);
        s.sourceRuns = EncodeSourceRuns(positions);
        MoveOffsets(
            static_cast<int>(n),
            [&](int offset) { return keptBefore[static_cast<std::size_t>(offset)]; }, document);
    }

    // Every character goes (a section of blanks only, as between two blocks): nothing
    // to count or copy.
    void RemoveAll(TSectionList* document) {
        s.textBuffer.Truncate(0);
        if (std::string* flags = s.WrittenBreakFlags()) flags->clear();
        s.sourceRuns = {};
        MoveOffsets(
            0, [](int) { return 0; }, document);
    }

  private:
    // Objects, controls and font runs move to where their characters went (keptBefore:
    // how many of the n characters there were before an offset are kept).
    template <class KeptBefore>
    void MoveOffsets(int n, KeptBefore keptBefore, TSectionList* document) {
        for (auto& object : s.InlineObjects()) object->textOffset = keptBefore(object->textOffset);
        for (auto* control : s.Controls()) control->textOffset = keptBefore(control->textOffset);
        // A run whose first characters went away starts at the next kept one; when
        // that is where the following run starts, the following one takes over.
        for (int i = 0; i < s.fontRuns.Count(); ++i)
            s.fontRuns[i].textOffset = keptBefore(std::min(s.fontRuns[i].textOffset, n));
        for (int i = s.fontRuns.Count() - 1; i > 0; --i)
            if (s.fontRuns[i - 1].textOffset == s.fontRuns[i].textOffset)
                s.fontRuns.RemoveAt(i - 1, document);
        remove.clear();
        marked = 0;
    }
};

// Whether any of FinishText's passes but the last (a trailing blank) can change the
// text: most paragraphs have single blanks between words, no forced breaks or objects
// and no leading blank.
bool MayNeedTrimming(const TSectionText& t) {
    if (t.empty()) return false;
    return t.front() == u' ' || t.ContainsAnyOrPair(kBreakChar, kObjectChar, u' ');
}

bool FloatsAt(const TSection& s, int offset) {
    for (const auto& object : s.InlineObjects())
        if (object->textOffset == offset) return object->Floats();
    return false;
}

}  // namespace

void TSection::RemoveChar(int offset) {
    if (offset < 0 || offset >= static_cast<int>(textBuffer.size())) return;
    if (offset + 1 == static_cast<int>(textBuffer.size())) {
        // The last character: only a run of its own goes.
        if (!sourceRuns.empty() && sourceRuns.back().textOffset == offset) sourceRuns.pop_back();
    } else {
        std::vector<std::int32_t> positions = ExpandSourceRuns(sourceRuns, textBuffer.size());
        positions.erase(positions.begin() + offset);
        sourceRuns = EncodeSourceRuns(positions);
    }
    textBuffer.erase(static_cast<std::size_t>(offset), 1);
    if (std::string* flags = WrittenBreakFlags()) flags->erase(static_cast<std::size_t>(offset), 1);
    for (auto* control : Controls())
        if (control->textOffset > offset) --control->textOffset;
    for (auto& object : InlineObjects())
        if (object->textOffset > offset) --object->textOffset;
    fontRuns.ShiftAfterRemoval(offset, ownerDocument);
}

void TSection::FinishText() {
    if (finished_) return;
    finished_ = true;
    const TSectionText& t = textBuffer;
    if (!MayNeedTrimming(t)) {
        if (!t.empty() && t.back() == u' ') RemoveChar(static_cast<int>(t.size()) - 1);
        FinishBuffers();
        return;
    }
    Compactor pass(*this);
    // Leading spaces; a section of spaces only keeps nothing.
    std::size_t leading = 0;
    while (leading < t.size() && t[leading] == u' ') ++leading;
    if (leading == t.size()) {
        pass.RemoveAll(ownerDocument);
        FinishBuffers();
        return;
    }
    for (std::size_t i = 0; i < leading; ++i) pass.Mark(i);
    pass.Apply(ownerDocument);
    // Runs of spaces keep one: the second, unless the first may not break.
    {
        int previous = -1;
        for (std::size_t i = 0; i < t.size(); ++i) {
            if (t[i] == u' ' && previous >= 0 && t[static_cast<std::size_t>(previous)] == u' ') {
                if (BreakFlag(previous) != 'n') {
                    pass.Mark(i);
                    continue;
                }
                pass.Mark(static_cast<std::size_t>(previous));
            }
            previous = static_cast<int>(i);
        }
        pass.Apply(ownerDocument);
    }
    // A space after a floating image or panel.
    if (!InlineObjects().empty()) {
        for (std::size_t i = t.size(); i-- > 1;)
            if (t[i] == u' ' && t[i - 1] == kObjectChar && FloatsAt(*this, static_cast<int>(i) - 1))
                pass.Mark(i);
        pass.Apply(ownerDocument);
    }
    // Spaces before, then after, a forced break.
    if (t.find(kBreakChar) != TSectionText::npos) {
        for (std::size_t i = 0; i + 1 < t.size(); ++i)
            if (t[i] == u' ' && t[i + 1] == kBreakChar) pass.Mark(i);
        pass.Apply(ownerDocument);
        for (std::size_t i = 1; i < t.size(); ++i)
            if (t[i] == u' ' && t[i - 1] == kBreakChar) pass.Mark(i);
        pass.Apply(ownerDocument);
    }
    if (!t.empty() && t.back() == u' ') RemoveChar(static_cast<int>(t.size()) - 1);
    if (t.size() > 1 && t.back() == kBreakChar) RemoveChar(static_cast<int>(t.size()) - 1);
    FinishBuffers();
}

void TSection::FinishBuffers() {
    finished_ = true;
    cursorCount = static_cast<int>(textBuffer.size());
    if (std::string* flags = WrittenBreakFlags()) {
        if (flags->find('n') == std::string::npos) {
            flags->clear();  // most sections may break after every character
        } else {
            flags->resize(textBuffer.size(), 'y');
            *flags += 'y';
        }
        flags->shrink_to_fit();
    }
    // The text grew in large steps: a finished section gives back room worth giving,
    // more than an eighth of what it holds (a copy for less costs more than it saves).
    if (textBuffer.capacity() - textBuffer.size() > textBuffer.size() / 8)
        textBuffer.shrink_to_fit();
    sourceRuns.shrink_to_fit();
    fontRuns.ShrinkToFit();
    if (cursorCount > 0 && ownerDocument) sectionOrdinal = ownerDocument->NextSectionOrdinal();
    KeepMinWidthBound();
}
