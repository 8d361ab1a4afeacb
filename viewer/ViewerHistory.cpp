// The viewer's history of files and its list of visited links.

#include <algorithm>

#include "layout/FontObj.h"
#include "platform/Text.h"
#include "viewer/HtmlViewer.h"

void THTMLViewer::SaveHistoryEntry(const std::string& oldFile, const std::string& oldTitle,
                                   int oldKind, std::unique_ptr<TFormData> oldFormData,
                                   std::int64_t oldPos) {
    if (historyMaxCount_ < 1 || currentFile_.empty() ||
        (oldFile == currentFile_ && oldKind == currentFileKind_ && oldPos == LayoutPosition()))
        return;
    if (!HistoryFiles.empty() && !oldFile.empty()) {
        // The entry of the page left takes the place it was left at; pages ahead of it
        // in the history are forgotten.
        const auto at = static_cast<std::size_t>(HistoryCursor);
        HistoryFiles[at] = oldFile;
        PositionObj& entry = *HistoryPositions[at];
        entry.ScrollPos = oldPos;
        entry.DocKind = oldKind;
        if (oldFile != currentFile_) entry.FormValues = std::move(oldFormData);
        HistoryTitles[at] = oldTitle;
        HistoryFiles.erase(HistoryFiles.begin(), HistoryFiles.begin() + HistoryCursor);
        HistoryPositions.erase(HistoryPositions.begin(), HistoryPositions.begin() + HistoryCursor);
        HistoryTitles.erase(HistoryTitles.begin(), HistoryTitles.begin() + HistoryCursor);
    }
    HistoryCursor = 0;
    auto entry = std::make_unique<PositionObj>();
    entry->ScrollPos = LayoutPosition();
    entry->DocKind = currentFileKind_;
    HistoryFiles.insert(HistoryFiles.begin(), currentFile_);
    HistoryPositions.insert(HistoryPositions.begin(), std::move(entry));
    HistoryTitles.insert(HistoryTitles.begin(), pageTitle_);
    if (HistoryFiles.size() > static_cast<std::size_t>(historyMaxCount_)) {
        const auto drop = static_cast<std::ptrdiff_t>(historyMaxCount_);
        HistoryFiles.erase(HistoryFiles.begin() + drop);
        HistoryPositions.erase(HistoryPositions.begin() + drop);
        HistoryTitles.erase(HistoryTitles.begin() + drop);
    }
    if (OnHistoryChange) OnHistoryChange(this);
}

void THTMLViewer::ClearHistory() {
    const bool had = !HistoryFiles.empty();
    HistoryFiles.clear();
    HistoryPositions.clear();
    HistoryTitles.clear();
    HistoryCursor = 0;
    if (had && OnHistoryChange) OnHistoryChange(this);
}

void THTMLViewer::SetHistoryIndex(int index) {
    if (busy_ || printing_ || index == HistoryCursor || index < 0 ||
        static_cast<std::size_t>(index) >= HistoryFiles.size())
        return;
    // The entry left keeps where the page was and what its forms held.
    if (static_cast<std::size_t>(HistoryCursor) < HistoryFiles.size() &&
        HistoryFiles[static_cast<std::size_t>(HistoryCursor)] == currentFile_) {
        PositionObj& left = *HistoryPositions[static_cast<std::size_t>(HistoryCursor)];
        left.ScrollPos = LayoutPosition();
        left.FormValues = document_->FormData();
        HistoryTitles[static_cast<std::size_t>(HistoryCursor)] = pageTitle_;
    }
    const auto at = static_cast<std::size_t>(index);
    const std::string file = HistoryFiles[at];
    const int kind = HistoryPositions[at]->DocKind;
    const std::int64_t position = HistoryPositions[at]->ScrollPos;
    const bool loaded = file != currentFile_ || kind != currentFileKind_;
    const std::uint64_t generation = pageGeneration_;
    if (loaded) LoadFile(file, kind);
    // A handler raised by the load may have shown another page or changed the history:
    // then what it did stands.
    if (pageGeneration_ != generation + (loaded ? 1 : 0) || at >= HistoryFiles.size() ||
        HistoryFiles[at] != file)
        return;
    SetLayoutPosition(position);
    if (const PositionObj& entry = *HistoryPositions[at]; entry.FormValues)
        document_->SetFormData(*entry.FormValues);
    HistoryCursor = index;
    if (OnHistoryChange) OnHistoryChange(this);
    if (loaded) RaiseMetaRefresh();
}

std::string THTMLViewer::ExpandedLinkTarget(const std::string& target) const {
    if (!target.empty() && target[0] == '#') return currentFile_ + target;
    return ExpandLinkPath(target);
}

void THTMLViewer::RememberVisited(const std::string& url) {
    if (visitedMaxCount_ <= 0) return;
    std::size_t found = std::string::npos;
    for (std::size_t i = 0; i < VisitedList.count(); ++i)
        if (platform::AnsiSameText(VisitedList.at(i), url)) {
            found = i;
            break;
        }
    if (found == 0) return;
    if (found != std::string::npos) {
        VisitedList.removeAt(found);
    } else {
        bool marked = false;
        for (TFontObj* run : document_->linkRuns)
            if (platform::AnsiSameText(ExpandedLinkTarget(run->LinkTarget().Url), url)) {
                run->MarkVisited(true);
                marked = true;
            }
        if (marked) InvalidatePaintSurface();
    }
    VisitedList.insert(0, url);
    while (VisitedList.count() > static_cast<std::size_t>(visitedMaxCount_))
        VisitedList.removeLast();
}

void THTMLViewer::MarkVisitedLinks() {
    if (visitedMaxCount_ <= 0 || VisitedList.empty()) return;
    // Each run's target is expanded once, then compared with every remembered URL.
    for (TFontObj* run : document_->linkRuns) {
        const std::string target = ExpandedLinkTarget(run->LinkTarget().Url);
        for (std::size_t i = 0; i < VisitedList.count(); ++i)
            if (platform::AnsiSameText(VisitedList.at(i), target)) {
                run->MarkVisited(true);
                break;
            }
    }
}
