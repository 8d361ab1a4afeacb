#pragma once
// Conversion between the 8-bit code pages of old pages and catalogues and UTF-16.
// Code pages are named by their Windows numbers: 1250-1258, 874, 932 (Shift_JIS),
// 936, 949, 950, 1361 and 65001 (UTF-8); 0 and 1 mean the application's own, 1252.
// Bytes a code page leaves undefined (0x81 in 1252, say) pass through as
// U+0080-U+009F or as U+00xx, and characters a code page cannot hold become '?'.

#include <cstddef>
#include <string>
#include <string_view>

namespace platform {

inline constexpr int CP_ACP = 1252;
inline constexpr int CP_UTF8 = 65001;

// True when the code page can be converted here.
bool IsCodePageSupported(int codePage);

// Bytes to UTF-16. An unsupported code page is read as 1252. A multibyte sequence cut
// short at the end of the text becomes U+FFFD (never dropped silently).
std::u16string ToUtf16(std::string_view bytes, int codePage);
// The same, appended to `out`.
void AppendUtf16(std::string_view bytes, int codePage, std::u16string& out);
// Each byte as the UTF-16 unit of the same value (Latin-1 text, or the ASCII of any
// single-byte code page), sixteen a step where the processor can.
void WidenBytes(const unsigned char* from, std::size_t count, char16_t* to);

// UTF-16 to bytes. Characters the code page cannot hold become '?'.
std::string FromUtf16(std::u16string_view text, int codePage);

// Convenience for the application's own Windows-1252 files.
inline std::u16string Ansi(std::string_view bytes) { return ToUtf16(bytes, CP_ACP); }

// UTF-8 for display in Qt and for file names on Linux.
std::string Utf16ToUtf8(std::u16string_view text);
std::u16string Utf8ToUtf16(std::string_view text);

}  // namespace platform
