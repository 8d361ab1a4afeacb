#pragma once
// The search over the name list: the row type-ahead lands on, and the results page.

#include <string>

#include "platform/StringList.h"

namespace app {

inline constexpr const char* kSearchPageFile = "search.html";

// The row of the first key that sorts at or after `key` (case-insensitive, locale
// order); the count of keys when every key sorts before it.
int TypeAheadRow(const platform::StringList& keys, const std::string& key);

// The results page for a folded, upper-cased key: the catalogue entries whose keys hold
// it, at most 100 of them, in catalogue order; CR LF line ends, Windows-1252.
std::string SearchResultsPage(const platform::StringList& keys, const platform::StringList& names,
                              const platform::StringList& pages,
                              const platform::StringList& activities, const std::string& key);

}  // namespace app
