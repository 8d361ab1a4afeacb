#include "platform/Files.h"

#include <pwd.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "platform/Errors.h"

namespace fs = std::filesystem;

namespace platform {

namespace {

bool SameIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; };
        if (lower(a[i]) != lower(b[i])) return false;
    }
    return true;
}

std::string SystemMessage(int error) { return std::strerror(error); }

}  // namespace

std::string NormalizeSeparators(std::string_view path) {
    std::string out(path);
    for (auto& c : out)
        if (c == '\\') c = '/';
    return out;
}

std::string ResolveExistingPath(std::string_view rawPath) {
    const std::string path = NormalizeSeparators(rawPath);
    if (path.empty()) return {};
    std::error_code ec;
    if (fs::exists(path, ec)) return path;

    // Walk the path a component at a time, matching each one ignoring case.
    fs::path current = path[0] == '/' ? fs::path("/") : fs::path();
    for (const auto& part : fs::path(path).relative_path()) {
        const std::string name = part.string();
        if (name.empty()) continue;
        fs::path exact = current / part;
        if (name == "." || name == ".." || fs::exists(exact, ec)) {
            current = exact;
            continue;
        }
        const fs::path folder = current.empty() ? fs::path(".") : current;
        bool found = false;
        for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
            const std::string candidate = it->path().filename().string();
            if (SameIgnoringCase(candidate, name)) {
                current /= candidate;
                found = true;
                break;
            }
        }
        if (!found) return {};
    }
    return current.string();
}

bool FileExists(std::string_view path) {
    const std::string resolved = ResolveExistingPath(path);
    std::error_code ec;
    return !resolved.empty() && fs::is_regular_file(resolved, ec);
}

bool DirectoryExists(std::string_view path) {
    const std::string resolved = ResolveExistingPath(path);
    std::error_code ec;
    return !resolved.empty() && fs::is_directory(resolved, ec);
}

std::string ReadWholeFile(std::string_view rawPath) {
    std::string path = ResolveExistingPath(rawPath);
    if (path.empty()) path = NormalizeSeparators(rawPath);
    // A folder opens as a stream here, and its "size" is no size at all.
    std::error_code ec;
    const bool folder = fs::is_directory(path, ec);
    std::ifstream in;
    if (!folder) in.open(path, std::ios::binary);
    if (folder || !in) {
        const int error = folder ? EISDIR : errno;
        throw EFOpenError("Não foi possível abrir o arquivo \"" + std::string(rawPath) +
                          "\". " + SystemMessage(error));
    }
    std::string bytes;
    in.seekg(0, std::ios::end);
    const auto size = in.tellg();
    if (size < 0) throw EFOpenError("Erro ao ler o arquivo \"" + std::string(rawPath) + "\".");
    if (size > 0) {
        bytes.resize(static_cast<std::size_t>(size));
        in.seekg(0);
        in.read(bytes.data(), size);
        bytes.resize(static_cast<std::size_t>(in.gcount()));
    }
    if (in.bad())
        throw EFOpenError("Erro ao ler o arquivo \"" + std::string(rawPath) + "\".");
    return bytes;
}

void WriteWholeFile(std::string_view rawPath, std::string_view bytes) {
    std::string path = ResolveExistingPath(rawPath);
    if (path.empty()) path = NormalizeSeparators(rawPath);
    const std::string temporary = path + ".tmp-" + std::to_string(::getpid());
    auto fail = [&](int error) {
        std::error_code ignored;
        fs::remove(temporary, ignored);
        throw EFCreateError("Não foi possível gravar o arquivo \"" + std::string(rawPath) +
                            "\". " + SystemMessage(error));
    };
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (!out) fail(errno);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        out.flush();
        if (!out) fail(errno ? errno : EIO);
    }
    std::error_code ec;
    fs::rename(temporary, path, ec);
    if (ec) fail(ec.value());
}

std::string ExecutableDirectory() {
    std::error_code ec;
    fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    std::string dir = ec ? fs::current_path().string() : exe.parent_path().string();
    if (dir.empty() || dir.back() != '/') dir += '/';
    return dir;
}

std::string ExpandFileName(std::string_view path) {
    std::error_code ec;
    fs::path p = fs::absolute(fs::path(NormalizeSeparators(path)), ec);
    return p.lexically_normal().string();
}

bool CanCreateFilesIn(std::string_view folder) {
    std::string probe(folder);
    if (probe.empty()) probe = ".";
    if (probe.back() != '/') probe += '/';
    probe += ".write-test-XXXXXX";
    const int descriptor = ::mkstemp(probe.data());
    if (descriptor < 0) return false;
    ::close(descriptor);
    ::unlink(probe.c_str());
    return true;
}

std::string UserCacheFolder(std::string_view program) {
    std::string base;
    if (const char* cache = std::getenv("XDG_CACHE_HOME"); cache && cache[0] == '/') {
        base = cache;
    } else {
        const char* home = std::getenv("HOME");
        if (!home || !*home) {
            const passwd* user = ::getpwuid(::getuid());
            home = user ? user->pw_dir : nullptr;
        }
        if (!home || !*home) return {};
        base = std::string(home) + "/.cache";
    }
    if (base.back() != '/') base += '/';
    return base + std::string(program) + '/';
}

}  // namespace platform
