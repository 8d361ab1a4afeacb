#include "layout/Background.h"

#include <algorithm>

namespace {

// Repeating tiles smaller than this are widened by copies before drawing.
constexpr int kMinimumTile = 128;

platform::Bitmap Replicate(const platform::Bitmap& source, int timesX, int timesY) {
    platform::Bitmap out(source.width() * timesX, source.height() * timesY, source.format());
    out.palette() = source.palette();
    for (int y = 0; y < out.height(); ++y) {
        const int sy = y % source.height();
        for (int x = 0; x < out.width(); ++x) {
            const int sx = x % source.width();
            if (source.format() == platform::Bitmap::Format::Rgb32)
                out.row32(y)[x] = source.row32(sy)[sx];
            else
                out.row8(y)[x] = source.row8(sy)[sx];
        }
    }
    return out;
}

}  // namespace

TTileRange BackgroundTileRange(const TBackgroundAxis& axis, int clipStart, int clipEnd, int offset,
                               int tile, int extent) {
    int origin = 0;
    switch (axis.Kind) {
        case 1:
            origin = extent / 2 - tile / 2;
            break;
        case 2:
        case 4:
            origin = extent - tile;
            break;
        case 5:
            origin = (extent - tile) * axis.Value / 100;
            break;
        case 6:
            origin = axis.Value;
            break;
        default:
            origin = 0;
            break;
    }
    origin -= offset;
    TTileRange range;
    if (axis.Repeat && tile > 0) {
        // Back to the last tile start at or before the clip's start.
        if (origin > clipStart)
            origin -= ((origin - clipStart + tile - 1) / tile) * tile;
        else
            origin += ((clipStart - origin) / tile) * tile;
        range.start = origin;
        range.limit = clipEnd;
    } else {
        range.start = origin;
        range.limit = (origin < clipEnd && origin + tile > clipStart) ? origin + 1 : origin;
    }
    return range;
}

void TBackgroundPainter::SetPicture(std::shared_ptr<const platform::Bitmap> picture,
                                    std::shared_ptr<const platform::Bitmap> mask) {
    picture_ = std::move(picture);
    mask_ = std::move(mask);
    built_ = false;
}

void TBackgroundPainter::BuildTile(const TBackgroundPosition& placement) {
    built_ = true;
    builtRepeatX_ = placement.Horizontal.Repeat;
    builtRepeatY_ = placement.Vertical.Repeat;
    repeatsX_ = builtRepeatX_ && picture_->width() < kMinimumTile
                    ? (kMinimumTile + picture_->width() - 1) / picture_->width()
                    : 1;
    repeatsY_ = builtRepeatY_ && picture_->height() < kMinimumTile
                    ? (kMinimumTile + picture_->height() - 1) / picture_->height()
                    : 1;
    if (repeatsX_ == 1 && repeatsY_ == 1) {
        tile_ = picture_;
        tileMask_ = mask_;
        return;
    }
    tile_ = std::make_shared<platform::Bitmap>(Replicate(*picture_, repeatsX_, repeatsY_));
    tileMask_ = mask_ ? std::make_shared<platform::Bitmap>(Replicate(*mask_, repeatsX_, repeatsY_))
                      : nullptr;
}

void TBackgroundPainter::Paint(platform::Canvas& canvas, const platform::Rect& area,
                               const platform::Rect& clip, const TBackgroundPosition& placement,
                               bool beyondArea) {
    if (!picture_ || picture_->isNull()) return;
    const platform::Rect visible = beyondArea ? clip : area.intersected(clip);
    if (visible.isEmpty()) return;
    if (!built_ || builtRepeatX_ != placement.Horizontal.Repeat ||
        builtRepeatY_ != placement.Vertical.Repeat)
        BuildTile(placement);
    // Placement counts in whole pictures; the drawn tile may be several of them.
    const int w = picture_->width(), h = picture_->height();
    const TTileRange xs = BackgroundTileRange(placement.Horizontal, visible.left - area.left,
                                              visible.right - area.left, 0, w, area.width());
    const TTileRange ys = BackgroundTileRange(placement.Vertical, visible.top - area.top,
                                              visible.bottom - area.top, 0, h, area.height());
    const int stepX = placement.Horizontal.Repeat ? tile_->width() : w;
    const int stepY = placement.Vertical.Repeat ? tile_->height() : h;
    canvas.save();
    canvas.intersectClipRect(visible);
    for (int y = ys.start; y < ys.limit; y += stepY)
        for (int x = xs.start; x < xs.limit; x += stepX) {
            const int tw = placement.Horizontal.Repeat ? tile_->width() : w;
            const int th = placement.Vertical.Repeat ? tile_->height() : h;
            const platform::Rect dest{area.left + x, area.top + y, area.left + x + tw,
                                      area.top + y + th};
            canvas.drawBitmap(*tile_, {0, 0, tw, th}, dest, tileMask_.get());
        }
    canvas.restore();
}
