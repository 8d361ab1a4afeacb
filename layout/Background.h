#pragma once
// Background pictures: one picture placed in an area by background-position and
// tiled by background-repeat, as blocks and the page draw them. Small repeating
// pictures are first copied side by side into a larger tile, so that a one-pixel
// gradient over a whole page costs a few drawing calls, not thousands.

#include <memory>

#include "platform/Bitmap.h"
#include "platform/Canvas.h"
#include "style/Properties.h"

// The first tile's offset on one axis and how far tiles go: with repeat, tiles run
// from `start` in steps of `tile` until `limit`; without, one tile at `start` when it
// meets [clipStart, clipEnd) (limit = start + 1), else none (limit = start).
struct TTileRange {
    int start = 0;
    int limit = 0;
};
TTileRange BackgroundTileRange(const TBackgroundAxis& axis, int clipStart, int clipEnd, int offset,
                               int tile, int extent);

class TBackgroundPainter {
  public:
    // The picture at its drawn size; a mask's white pixels let the colour below show.
    void SetPicture(std::shared_ptr<const platform::Bitmap> picture,
                    std::shared_ptr<const platform::Bitmap> mask);
    bool HasPicture() const { return picture_ != nullptr; }

    // Tiles over `area` (screen coordinates: the placement's origin and extent), drawing
    // only inside `clip` and the area. With `beyondArea` (the page's own background) the
    // area only places the tiles: they are drawn wherever they meet `clip`, so a picture
    // shows whole below a short page and a repeating one fills the window.
    void Paint(platform::Canvas& canvas, const platform::Rect& area, const platform::Rect& clip,
               const TBackgroundPosition& placement, bool beyondArea = false);

  private:
    void BuildTile(const TBackgroundPosition& placement);

    std::shared_ptr<const platform::Bitmap> picture_;
    std::shared_ptr<const platform::Bitmap> mask_;
    // The tile actually drawn: the picture, or copies of it side by side.
    std::shared_ptr<const platform::Bitmap> tile_;
    std::shared_ptr<const platform::Bitmap> tileMask_;
    int repeatsX_ = 1, repeatsY_ = 1;
    bool built_ = false;
    bool builtRepeatX_ = false, builtRepeatY_ = false;
};
