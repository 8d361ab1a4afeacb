#include "style/Fonts.h"

#include <unordered_map>

#include "platform/Screen.h"
#include "platform/Text.h"
#include "style/ValueText.h"

std::string GenericFamilyFace(std::string_view family) {
    const std::string lower = LowerAscii(family);
    if (lower == "serif") return "Times New Roman";
    if (lower == "monospace") return "Courier New";
    if (lower == "sans-serif") return "Arial";
    if (lower == "cursive") return "Lucida Handwriting";
    return std::string(family);
}

namespace {

std::string FirstInstalledFace(std::string_view familyList) {
    auto& screen = platform::Screen();
    std::size_t start = 0;
    while (start <= familyList.size()) {
        std::size_t comma = familyList.find(',', start);
        if (comma == std::string_view::npos) comma = familyList.size();
        std::string face = GenericFamilyFace(TrimView(familyList.substr(start, comma - start)));
        if (!face.empty() && (face.front() == '"' || face.front() == '\'')) face.erase(0, 1);
        if (!face.empty() && (face.back() == '"' || face.back() == '\'')) face.pop_back();
        if (!face.empty() && screen.isFontInstalled(face)) return face;
        start = comma + 1;
    }
    return {};
}

}  // namespace

// Every element asks for its font, mostly with the family list its parent asked for:
// the answers are kept (the last one at hand) until other screen services are
// installed.
std::string ResolveFontName(std::string_view familyList) {
    struct Hash {
        using is_transparent = void;
        std::size_t operator()(std::string_view text) const { return std::hash<std::string_view>{}(text); }
    };
    static std::unordered_map<std::string, std::string, Hash, std::equal_to<>> answers;
    static int answersFor = -1;
    static std::string lastList, lastFace;
    if (answersFor != platform::ScreenInstallations()) {
        answers.clear();
        answersFor = platform::ScreenInstallations();
        lastList = lastFace = "";
    } else if (familyList == lastList && !lastList.empty()) {
        return lastFace;
    }
    auto found = answers.find(familyList);
    if (found == answers.end()) {
        if (answers.size() >= 1024) answers.clear();
        found = answers.emplace(std::string(familyList), FirstInstalledFace(familyList)).first;
    }
    lastList = found->first;
    lastFace = found->second;
    return lastFace;
}

bool CodePageFromCharset(int charset, int& codePage) {
    static constexpr std::pair<int, int> kTable[] = {
        {0, 1252},   {1, 0},      {2, 0},      {77, 2},     {128, 932},  {129, 949},  {130, 1361},
        {134, 936},  {136, 950},  {161, 1253}, {162, 1254}, {163, 1258}, {177, 1255}, {178, 1256},
        {186, 1257}, {204, 1251}, {222, 874},  {238, 1250}, {255, 1},
    };
    for (const auto& [set, page] : kTable) {
        if (set == charset) {
            codePage = page;
            return true;
        }
    }
    return false;
}
