#pragma once
// Reading the pictures the tests compare against (tests/image/pictures/, written by
// make_pictures.py) and writing small PNG files inline, with zlib's own CRC and
// compression rather than the program's.

#include <zlib.h>

#include <cstdint>
#include <exception>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

namespace test_pictures {

inline std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), {});
}

inline std::filesystem::path PictureFolder(const std::string& kind) {
    return std::filesystem::path(VULTARIA_TEST_DATA) / "image" / "pictures" / kind;
}

// A binary PPM (P6) or PGM (P5) with 8-bit samples.
struct Netpbm {
    int width = 0;
    int height = 0;
    int channels = 0;
    std::string samples;
    // 0x00RRGGBB, or the grey level of a PGM.
    std::uint32_t at(int x, int y) const {
        const std::size_t i = (static_cast<std::size_t>(y) * width + x) * channels;
        auto s = [&](std::size_t k) {
            return static_cast<std::uint32_t>(static_cast<unsigned char>(samples[i + k]));
        };
        return channels == 3 ? s(0) << 16 | s(1) << 8 | s(2) : s(0);
    }
};

inline Netpbm ReadNetpbm(const std::filesystem::path& path) {
    const std::string bytes = ReadFile(path);
    std::istringstream in(bytes);
    std::string magic;
    int maxval = 0;
    Netpbm result;
    in >> magic >> result.width >> result.height >> maxval;
    in.get();
    result.channels = magic == "P6" ? 3 : 1;
    result.samples = bytes.substr(static_cast<std::size_t>(in.tellg()));
    return result;
}

inline std::string BigEndian(std::uint32_t value) {
    return {static_cast<char>(value >> 24), static_cast<char>(value >> 16),
            static_cast<char>(value >> 8), static_cast<char>(value)};
}

inline std::string Chunk(const std::string& type, const std::string& data) {
    std::string body = type + data;
    const auto crc = static_cast<std::uint32_t>(
        crc32(0, reinterpret_cast<const Bytef*>(body.data()), static_cast<uInt>(body.size())));
    return BigEndian(static_cast<std::uint32_t>(data.size())) + body + BigEndian(crc);
}

inline std::string Header(std::uint32_t width, std::uint32_t height, int depth, int colorType,
                          int interlace = 0) {
    return Chunk("IHDR", BigEndian(width) + BigEndian(height) + static_cast<char>(depth) +
                             static_cast<char>(colorType) + std::string(2, '\0') +
                             static_cast<char>(interlace));
}

inline std::string Compress(const std::string& raw) {
    uLongf size = compressBound(static_cast<uLong>(raw.size()));
    std::string out(size, '\0');
    compress(reinterpret_cast<Bytef*>(out.data()), &size,
             reinterpret_cast<const Bytef*>(raw.data()), static_cast<uLong>(raw.size()));
    out.resize(size);
    return out;
}

// The message `run` fails with, or "" when it does not.
template <typename Run>
std::string ErrorOf(Run run) {
    try {
        run();
    } catch (const std::exception& e) {
        return e.what();
    }
    return "";
}

inline const std::string kSignature("\x89PNG\r\n\x1A\n", 8);

// A whole file: signature, header, the chunks given, one data chunk with the rows
// (filter bytes included) and the end.
inline std::string Png(const std::string& header, const std::string& raw,
                       const std::string& before = "", const std::string& after = "") {
    return kSignature + header + before + Chunk("IDAT", Compress(raw)) + after + Chunk("IEND", "");
}

}  // namespace test_pictures
