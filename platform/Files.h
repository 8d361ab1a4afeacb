#pragma once
// Files as the collection uses them. Relative paths from catalogues and links may use
// '\' or '/', and collections come from file systems that ignore case: when a name is
// not found exactly, the path is looked up again ignoring case, folder by folder.

#include <string>
#include <string_view>

namespace platform {

// '\' becomes '/'.
std::string NormalizeSeparators(std::string_view path);

// The existing file or folder the path names, found exactly or else ignoring case
// (after NormalizeSeparators); empty when there is none.
std::string ResolveExistingPath(std::string_view path);

bool FileExists(std::string_view path);  // a regular file, resolved as above
bool DirectoryExists(std::string_view path);

// The whole file as bytes. Throws EFOpenError naming the file.
std::string ReadWholeFile(std::string_view path);

// Replaces the file with `bytes`, through a temporary file in the same folder that is
// renamed over it, so a failed write never leaves a half-written file.
// Throws EFCreateError naming the file.
void WriteWholeFile(std::string_view path, std::string_view bytes);

// The folder of the running executable, with a trailing '/'.
std::string ExecutableDirectory();

// An absolute, normalised form of the path ('.' and '..' removed); no lookup on disk.
std::string ExpandFileName(std::string_view path);

// True when this process can create a file in the folder: tried for real, so read-only
// mounts, permissions and access lists all count.
bool CanCreateFilesIn(std::string_view folder);

// The user's cache folder for this program, with a trailing '/': $XDG_CACHE_HOME/`program`/
// (an XDG_CACHE_HOME that is not an absolute path does not count), else
// ~/.cache/`program`/. Empty when no home folder is known. Nothing is created.
std::string UserCacheFolder(std::string_view program);

}  // namespace platform
