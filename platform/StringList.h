#pragma once
// An ordered list of 8-bit strings, read from and written to text files the way the
// collection's files are laid out: a line ends at CR, LF or CR LF; a NUL ends the text;
// every line is written followed by CR LF.
//
// The lines are kept end to end in one buffer: a catalogue of 200,000 names costs
// little more than its file, where a string object per line would cost several times
// that. Appending is cheap; inserting and removing copy the lines after the place.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

class StringList {
public:
    StringList() = default;

    std::size_t count() const { return ends_.size(); }
    bool empty() const { return ends_.empty(); }
    // Throws EListError naming the index when it is outside the list. The view lasts
    // until the list changes.
    std::string_view at(std::size_t index) const;
    std::string_view last() const { return at(count() - 1); }
    std::vector<std::string> lines() const;

    void add(std::string_view line);
    void insert(std::size_t index, std::string_view line);
    void removeAt(std::size_t index);
    void removeLast() { removeAt(count() - 1); }
    void clear();

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
    std::size_t startOf(std::size_t index) const { return index == 0 ? 0 : ends_[index - 1]; }

    std::string buffer_;             // the lines end to end
    std::vector<std::size_t> ends_;  // where each line ends in buffer_

};

}  // namespace platform
