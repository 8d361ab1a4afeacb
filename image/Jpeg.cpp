#include "image/Jpeg.h"

#include <csetjmp>
#include <cstdio>
#include <string>
#include <vector>

#include <jpeglib.h>
#include <jerror.h>

#include "image/ImageErrors.h"

namespace {

// libjpeg reports errors through a callback that must not return: jump back out of
// the decoder, and throw from there.
struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf escape;
    char message[JMSG_LENGTH_MAX];
};

void OnError(j_common_ptr info) {
    auto* errors = reinterpret_cast<ErrorManager*>(info->err);
    (*info->err->format_message)(info, errors->message);
    std::longjmp(errors->escape, 1);
}

// A file that ends early is decoded by libjpeg as if grey followed: we would rather
// show it as broken than as half a picture. Its data may also stop short at a marker
// (the end-of-image one, say) with blocks still to come: that is a file cut short too,
// and stopping there spares decoding a picture of which only a sliver came.
void OnMessage(j_common_ptr info, int level) {
    if (level < 0 &&
        (info->err->msg_code == JWRN_JPEG_EOF || info->err->msg_code == JWRN_HIT_MARKER)) {
        info->err->error_exit(info);
    }
}

}  // namespace

platform::Bitmap DecodeJpeg(std::string_view bytes, const JpegOutput& output) {
    jpeg_decompress_struct info{};
    ErrorManager errors{};
    info.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = OnError;
    errors.base.emit_message = OnMessage;
    // Everything that needs freeing on an error lives outside the jump.
    std::vector<JSAMPLE> row;
    platform::Bitmap out;
    std::string failure;
    if (setjmp(errors.escape)) {
        failure = errors.message;
        jpeg_destroy_decompress(&info);
        throw EInvalidGraphicOperation("JPEG: " + failure);
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(bytes.data()),
                 static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(&info, TRUE);
    try {
        CheckPictureSize(info.image_width, info.image_height);
    } catch (...) {
        jpeg_destroy_decompress(&info);
        throw;
    }
    const bool cmyk = info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK;
    const bool grey = info.jpeg_color_space == JCS_GRAYSCALE;
    info.out_color_space = cmyk ? JCS_CMYK : JCS_RGB;
    if (output.indexed && !cmyk) {
        if (grey) {
            info.out_color_space = JCS_GRAYSCALE;
        } else {
            info.quantize_colors = TRUE;
            if (output.sharedPalette) {
                info.colormap = (*info.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&info),
                                                          JPOOL_IMAGE, 256, 3);
                for (int i = 0; i < 256; ++i) {
                    const platform::TColor c = (*output.sharedPalette)[i];
                    info.colormap[0][i] = static_cast<JSAMPLE>(c & 0xFF);
                    info.colormap[1][i] = static_cast<JSAMPLE>((c >> 8) & 0xFF);
                    info.colormap[2][i] = static_cast<JSAMPLE>((c >> 16) & 0xFF);
                }
                info.actual_number_of_colors = 256;
            }
        }
    }
    jpeg_start_decompress(&info);

    const int width = static_cast<int>(info.output_width);
    const int height = static_cast<int>(info.output_height);
    const int components = info.output_components;
    if (output.indexed && !cmyk) {
        out = platform::Bitmap(width, height, platform::Bitmap::Format::Indexed8);
        auto& palette = out.palette();
        const int colours = grey ? 256 : info.actual_number_of_colors;
        palette.resize(static_cast<std::size_t>(colours));
        for (int i = 0; i < colours; ++i) {
            const auto level = static_cast<std::uint32_t>(i);
            palette[i] = grey ? level << 16 | level << 8 | level
                              : std::uint32_t{info.colormap[0][i]} << 16 |
                                    std::uint32_t{info.colormap[1][i]} << 8 | info.colormap[2][i];
        }
        while (info.output_scanline < info.output_height) {
            JSAMPROW rows[1] = {out.row8(static_cast<int>(info.output_scanline))};
            jpeg_read_scanlines(&info, rows, 1);
        }
        jpeg_finish_decompress(&info);
        jpeg_destroy_decompress(&info);
        return out;
    }
    out = platform::Bitmap(width, height);
    row.resize(static_cast<std::size_t>(width) * components);
    while (info.output_scanline < info.output_height) {
        const int y = static_cast<int>(info.output_scanline);
        JSAMPROW rows[1] = {row.data()};
        jpeg_read_scanlines(&info, rows, 1);
        std::uint32_t* target = out.row32(y);
        for (int x = 0; x < width; ++x) {
            const JSAMPLE* p = row.data() + static_cast<std::size_t>(x) * components;
            std::uint32_t r, g, b;
            if (components == 4) {
                // Adobe writes CMYK inverted: each value is already 255 - ink.
                const std::uint32_t k = p[3];
                r = p[0] * k / 255;
                g = p[1] * k / 255;
                b = p[2] * k / 255;
            } else if (components == 3) {
                r = p[0], g = p[1], b = p[2];
            } else {
                r = g = b = p[0];
            }
            target[x] = (r << 16) | (g << 8) | b;
        }
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return out;
}
