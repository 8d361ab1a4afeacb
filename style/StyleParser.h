#pragma once
// Readers for style text: the content of a style element or a linked style sheet
// into the document's style list, and one style attribute into an element's
// properties. Both are lenient: whatever they do not understand they skip.

#include <functional>
#include <string>
#include <string_view>

class TStyleList;
class TProperties;

// The next character of the document; 26 (Ctrl-Z) marks the end.
using TNextChar = std::function<char()>;
inline constexpr char StyleEndOfText = 26;

// Reads style sheet text starting with `ch` (already read by the caller) and then
// from `nextChar`, until a "<" or the end. On return `ch` is the character reading
// stopped at, upper-cased. url(...) references are made absolute against basePath.
void ParseStyleSheet(TStyleList& styles, char& ch, const TNextChar& nextChar,
                     const std::string& basePath);
// Convenience for whole texts (linked sheets, tests): reads all of `text`.
void ParseStyleSheetText(TStyleList& styles, std::string_view text, const std::string& basePath);

// Stores the declarations of a style attribute into Props.
void ParseStyleAttribute(std::string_view text, TProperties& props);

// Turns the address of a url(...) value into one that no longer depends on where the
// sheet was read from. The document builder installs its URL helpers here; until
// then a plain resolution against the base is used.
using TUrlResolver = std::function<std::string(const std::string& basePath,
                                               const std::string& address)>;
void SetStyleUrlResolver(TUrlResolver resolver);
std::string MakeUrlAbsolute(const std::string& value, const std::string& basePath);
