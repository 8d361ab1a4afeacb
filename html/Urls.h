#pragma once
// String functions on URLs and local paths. Local paths keep '/' as their separator, as
// everywhere in the program's file layer.

#include <string>
#include <string_view>

// The directory part of a URL, ending in '/'.
std::string UrlDirectory(std::string_view url);
// An absolute URL for `relative` seen from the directory URL `base`.
std::string ResolveRelativeUrl(std::string_view base, std::string_view relative);
// True for a URL with a scheme ("proto://...") or a mail link.
bool IsAbsoluteUrl(std::string_view url);
// A local path from a file: URL or a relative URL: %XX escapes decoded, the scheme
// dropped, '|' after a drive letter read as ':'.
std::string UrlToLocalPath(std::string_view url);
// Like UrlToLocalPath; a server-absolute path ("/dir/a.htm") is placed under root.
std::string UrlToLocalPathUnderRoot(std::string_view url, std::string_view root);

// The viewer's expansion of a link or picture name into what it loads: a web address
// ("proto://...", not file://) as it is; otherwise a local path, server-absolute names
// ("/dir/a.htm") placed under `serverRoot` when one is set, relative names taken from the
// folder of `docBase` (the page's BASE) when set, else from the folder of `currentFile`.
// A base of "DosPath" leaves relative names relative.
std::string ExpandLinkPath(std::string_view name, std::string_view serverRoot, std::string_view docBase,
                           std::string_view currentFile);
