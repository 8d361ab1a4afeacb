#include "platform/StringList.h"

#include "platform/Errors.h"
#include "platform/Files.h"

namespace platform {

namespace {

[[noreturn]] void OutOfBounds(std::size_t index) {
    throw EListError("List index out of bounds (" + std::to_string(static_cast<long long>(index)) + ")");
}

// Calls `line(begin, end)` for each line of the text, as the class comment describes.
template <typename LineFunction>
void ForEachLine(std::string_view text, LineFunction line) {
    if (auto nul = text.find('\0'); nul != std::string_view::npos) text = text.substr(0, nul);
    std::size_t start = 0;
    const std::size_t n = text.size();
    for (std::size_t i = 0; i < n; ++i) {
        const char c = text[i];
        if (c != '\r' && c != '\n') continue;
        line(start, i);
        if (c == '\r' && i + 1 < n && text[i + 1] == '\n') ++i;
        start = i + 1;
    }
    if (start < n) line(start, n);
}

}  // namespace

std::string_view StringList::at(std::size_t index) const {
    if (index >= count()) OutOfBounds(index);
    const std::size_t start = startOf(index);
    return std::string_view(buffer_).substr(start, ends_[index] - start);
}

std::vector<std::string> StringList::lines() const {
    std::vector<std::string> out;
    out.reserve(count());
    for (std::size_t i = 0; i < count(); ++i) out.emplace_back(at(i));
    return out;
}

void StringList::add(std::string_view line) {
    buffer_.append(line);
    ends_.push_back(buffer_.size());
}

void StringList::insert(std::size_t index, std::string_view line) {
    if (index > count()) OutOfBounds(index);
    const std::size_t at = startOf(index);
    buffer_.insert(at, line);
    ends_.insert(ends_.begin() + static_cast<std::ptrdiff_t>(index), at);
    for (std::size_t i = index; i < ends_.size(); ++i) ends_[i] += line.size();
}

void StringList::removeAt(std::size_t index) {
    if (index >= count()) OutOfBounds(index);
    const std::size_t start = startOf(index);
    const std::size_t length = ends_[index] - start;
    buffer_.erase(start, length);
    ends_.erase(ends_.begin() + static_cast<std::ptrdiff_t>(index));
    for (std::size_t i = index; i < ends_.size(); ++i) ends_[i] -= length;
}

void StringList::clear() {
    buffer_.clear();
    ends_.clear();
}

std::vector<std::string> StringList::SplitLines(std::string_view text) {
    std::vector<std::string> lines;
    ForEachLine(text, [&](std::size_t begin, std::size_t end) { lines.emplace_back(text.substr(begin, end - begin)); });
    return lines;
}

void StringList::setText(std::string_view text) {
    clear();
    buffer_.reserve(text.size());
    ForEachLine(text, [&](std::size_t begin, std::size_t end) { add(text.substr(begin, end - begin)); });
    buffer_.shrink_to_fit();
    ends_.shrink_to_fit();
}

std::string StringList::text() const {
    std::string out;
    out.reserve(buffer_.size() + 2 * count());
    for (std::size_t i = 0; i < count(); ++i) {
        out += at(i);
        out += "\r\n";
    }
    return out;
}

void StringList::loadFromFile(const std::string& path) { setText(ReadWholeFile(path)); }

void StringList::saveToFile(const std::string& path) const { WriteWholeFile(path, text()); }

}  // namespace platform
