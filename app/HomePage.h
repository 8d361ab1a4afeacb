#pragma once
// The home page: a template with date and time markers, filled in at start-up.

#include <functional>
#include <string>

namespace app {

inline constexpr const char* kHomeTemplateFile = "principal.htm";
inline constexpr const char* kHomePageFile = "principal.txt";

// Replaces the first "##DATA" by `date`, then the first two "##HORA" by the time, the
// clock read once for each; later markers stay as they are.
std::string FillHomePageMarkers(std::string text, const std::string& date,
                                const std::function<std::string()>& currentTime);

// The date and time in the user's short date and long time formats (hours, minutes,
// seconds), as Windows-1252 bytes.
std::string CurrentShortDate();
std::string CurrentLongTime();

}  // namespace app
