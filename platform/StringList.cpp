#include "platform/StringList.h"

#include "platform/Errors.h"
#include "platform/Files.h"

namespace platform {

const std::string& StringList::at(std::size_t index) const {
    if (index >= lines_.size())
        throw EListError("List index out of bounds (" + std::to_string(static_cast<long long>(index)) + ")");
    return lines_[index];
}

void StringList::insert(std::size_t index, std::string line) {
    if (index > lines_.size())
        throw EListError("List index out of bounds (" + std::to_string(index) + ")");
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(index), std::move(line));
}

void StringList::removeAt(std::size_t index) {
    if (index >= lines_.size())
        throw EListError("List index out of bounds (" + std::to_string(static_cast<long long>(index)) + ")");
    lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(index));
}

std::vector<std::string> StringList::SplitLines(std::string_view text) {
    if (auto nul = text.find('\0'); nul != std::string_view::npos) text = text.substr(0, nul);
    std::vector<std::string> lines;
    std::size_t start = 0;
    const std::size_t n = text.size();
    for (std::size_t i = 0; i < n; ++i) {
        const char c = text[i];
        if (c != '\r' && c != '\n') continue;
        lines.emplace_back(text.substr(start, i - start));
        if (c == '\r' && i + 1 < n && text[i + 1] == '\n') ++i;
        start = i + 1;
    }
    if (start < n) lines.emplace_back(text.substr(start));
    return lines;
}

void StringList::setText(std::string_view text) { lines_ = SplitLines(text); }

std::string StringList::text() const {
    std::size_t size = 0;
    for (const auto& line : lines_) size += line.size() + 2;
    std::string out;
    out.reserve(size);
    for (const auto& line : lines_) {
        out += line;
        out += "\r\n";
    }
    return out;
}

void StringList::loadFromFile(const std::string& path) { setText(ReadWholeFile(path)); }

void StringList::saveToFile(const std::string& path) const { WriteWholeFile(path, text()); }

}  // namespace platform
