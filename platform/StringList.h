#pragma once
// An ordered list of 8-bit strings, read from and written to text files the way the
// collection's files are laid out: a line ends at CR, LF or CR LF; a NUL ends the text;
// every line is written followed by CR LF.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

class StringList {
public:
    StringList() = default;

    std::size_t count() const { return lines_.size(); }
    bool empty() const { return lines_.empty(); }
    // Throws EListError naming the index when it is outside the list.
    const std::string& at(std::size_t index) const;
    const std::string& last() const { return at(lines_.size() - 1); }
    const std::vector<std::string>& lines() const { return lines_; }

    void add(std::string line) { lines_.push_back(std::move(line)); }
    void insert(std::size_t index, std::string line);
    void removeAt(std::size_t index);
    void removeLast() { removeAt(lines_.size() - 1); }
    void clear() { lines_.clear(); }

    // Replaces the lines with those of `text`.
    void setText(std::string_view text);
    // Every line followed by CR LF.
    std::string text() const;

    // Reads the whole file (it may be written by others meanwhile). Throws EFOpenError.
    void loadFromFile(const std::string& path);
    // Writes text() to the file, replacing it. Throws EFCreateError.
    void saveToFile(const std::string& path) const;

    // Splits text into lines; see the class comment.
    static std::vector<std::string> SplitLines(std::string_view text);

private:
    std::vector<std::string> lines_;
};

}  // namespace platform
