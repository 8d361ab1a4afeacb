#include "html/Urls.h"

#include "platform/Files.h"
#include "platform/Text.h"

namespace {

std::string Trimmed(std::string_view s) {
    while (!s.empty() && static_cast<unsigned char>(s.front()) <= ' ') s.remove_prefix(1);
    while (!s.empty() && static_cast<unsigned char>(s.back()) <= ' ') s.remove_suffix(1);
    return std::string(s);
}

std::string_view BeforeQuery(std::string_view s) {
    const auto q = s.find('?');
    return q == std::string_view::npos ? s : s.substr(0, q);
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool StartsWithNoCase(std::string_view s, std::string_view prefix) {
    return s.size() >= prefix.size() &&
           platform::AsciiLowerCase(s.substr(0, prefix.size())) == prefix;
}

}  // namespace

std::string UrlDirectory(std::string_view url) {
    const std::string text(BeforeQuery(Trimmed(url)));
    const auto scheme = text.find("//");
    const std::size_t from = scheme == std::string::npos ? 1 : scheme + 2;
    const auto slash = text.size() > from ? text.rfind('/') : std::string::npos;
    if (slash != std::string::npos && slash >= from) return text.substr(0, slash + 1);
    return text + "/";
}

std::string ResolveRelativeUrl(std::string_view baseText, std::string_view relativeText) {
    std::string base = Trimmed(baseText);
    // The root: what a server-absolute reference keeps ("proto://host/", "file:///C:/").
    std::size_t root = 0;
    if (StartsWithNoCase(base, "file:///")) {
        const auto slash = base.find('/', 8);
        root = slash == std::string::npos ? 8 : slash + 1;
    } else if (const auto scheme = base.find("://"); scheme != std::string::npos) {
        const auto slash = base.find('/', scheme + 3);
        // A base that is just "proto://host" gets its slash below; the host stays in
        // the root.
        root = slash == std::string::npos ? base.size() + 1 : slash + 1;
    } else {
        const auto slash = base.find('/');
        root = slash == std::string::npos ? 0 : slash + 1;
    }
    if (root != 0) {
        if (base.empty() || base.back() != '/') base += '/';
    } else {
        base += '/';
        root = base.size();
    }
    if (root > base.size()) root = base.size();

    const std::string relative = Trimmed(relativeText);
    std::string result;
    if (relative.empty() || relative[0] != '/')
        result = base + relative;
    else if (relative.size() > 1 && relative[1] == '/')
        result = base.substr(0, root) + relative;
    else
        result = base.substr(0, root) + relative.substr(1);

    for (;;) {
        const auto at = result.find("/../");
        if (at == std::string::npos) break;
        if (at + 1 < root) {
            // Inside the root: only the "../" goes.
            result.erase(at + 1, 3);
        } else if (at + 1 == root) {
            break;  // nothing above the root to go back to
        } else {
            const auto segment = result.rfind('/', at - 1);
            result.erase(segment + 1, at + 4 - (segment + 1));
        }
    }
    for (auto at = result.find("/./"); at != std::string::npos; at = result.find("/./"))
        result.erase(at, 2);
    return result;
}

bool IsAbsoluteUrl(std::string_view url) {
    const std::string_view text = BeforeQuery(url);
    const auto scheme = text.find("://");
    if (scheme != std::string_view::npos && scheme < text.find('/')) return true;
    return platform::AsciiLowerCase(text).find("mailto:") != std::string::npos;
}

std::string UrlToLocalPath(std::string_view url) {
    std::string path(url);
    for (;;) {
        const auto percent = path.find('%');
        if (percent == std::string::npos || percent == 0 || percent + 2 >= path.size()) break;
        const int high = HexDigit(path[percent + 1]), low = HexDigit(path[percent + 2]);
        if (high < 0 || low < 0) break;
        path[percent] = static_cast<char>(high * 16 + low);
        path.erase(percent + 1, 2);
    }
    // A file path separates its folders with '/' here, however the page wrote them.
    if (path.find('/') == std::string::npos) return platform::NormalizeSeparators(path);
    const std::string lower = platform::AsciiLowerCase(path);
    if (const auto at = lower.find("file:///"); at != std::string::npos) {
        path.erase(at, 8);
        // "file:///C|/dir" names a drive; "file:///home/dir" an absolute path, whose
        // leading '/' the local path keeps.
        const bool drive = path.size() >= 2 && (path[1] == '|' || path[1] == ':');
        if (!drive) path.insert(at, "/");
    } else if (const auto at2 = lower.find("file://"); at2 != std::string::npos) {
        path.erase(at2, 7);
    }
    for (char& c : path)
        if (c == '|') c = ':';
    return platform::NormalizeSeparators(path);
}

std::string UrlToLocalPathUnderRoot(std::string_view url, std::string_view root) {
    std::string path = Trimmed(UrlToLocalPath(url));
    if (!path.empty() && !root.empty() && path.compare(0, 2, "//") != 0 &&
        !(path.size() >= 2 && path[1] == ':') && path[0] == '/')
        path.insert(0, root);
    return path;
}

std::string ExpandLinkPath(std::string_view name, std::string_view serverRoot,
                           std::string_view docBase, std::string_view currentFile) {
    const auto scheme = name.find("://");
    if (scheme != std::string_view::npos && scheme > 0 &&
        platform::AsciiLowerCase(name).find("file://") == std::string::npos)
        return std::string(name);
    // A file: URL names its own absolute path; the server root is for "/dir/page.htm".
    const std::string trimmed = Trimmed(name);
    std::string path = platform::AsciiLowerCase(trimmed).rfind("file:", 0) == 0
                           ? UrlToLocalPath(trimmed)
                           : UrlToLocalPathUnderRoot(trimmed, serverRoot);
    if (!path.empty() && path[0] == '/' && path.compare(0, 2, "//") != 0)
        return platform::ExpandFileName(path);
    const bool drive = path.size() >= 2 && path[1] == ':';
    if (drive || path.compare(0, 2, "//") == 0 || platform::AsciiLowerCase(docBase) == "dospath")
        return path;
    std::string folder;
    if (!docBase.empty()) {
        // A page read from disk may name a web folder as its base: its relative links
        // are web addresses, not files under a folder called "http:".
        if (IsAbsoluteUrl(docBase) &&
            platform::AsciiLowerCase(docBase).find("file:") == std::string::npos)
            return ResolveRelativeUrl(UrlDirectory(docBase), path);
        folder = UrlToLocalPath(docBase);
    } else {
        folder = std::string(currentFile);
    }
    const auto slash = folder.rfind('/');
    folder = slash == std::string::npos ? std::string() : folder.substr(0, slash + 1);
    return platform::ExpandFileName(folder + path);
}
