#pragma once
// Pictures in the text: IMG elements, and the background pictures of blocks and list
// markers. An image asks the document's image cache for its picture, sizes itself
// from its attributes and the picture, and draws the picture, or a placeholder with
// its ALT text when the picture is missing or images are off.

#include <memory>
#include <string>
#include <string_view>

#include "image/ColorReduction.h"
#include "layout/FloatingObj.h"
#include "platform/Bitmap.h"

class TAnimatedPicture;
class TAttributeList;
class TGIFImage;
class TImageFormControlObj;
class TProperties;
class TSectionList;
class TStringBitmapList;

// What the document's image cache gives for a name (see LookupPicture).
struct TPictureLookup {
    std::shared_ptr<platform::Bitmap> picture;  // an animated GIF's first frame
    std::shared_ptr<platform::Bitmap> mask;
    std::shared_ptr<const TGIFImage> animation;  // an animated GIF's frames
    int transparency = 0;
    bool fromCache = false;
    bool waiting = false;  // the host supplies the picture later
};

// The picture of a name, through the document's cache: stored there the first time
// (one use counted), taken from there afterwards (one more use). Without request
// events `name` is the expanded file name; with them it goes to the host first (see
// TSectionList::PictureRequestName). Nothing for a picture that is missing or cannot
// be decoded.
TPictureLookup LookupPicture(TSectionList& document, const std::string& name, bool cornerTransparency);
// The cache key of a picture name: trimmed and upper-cased.
std::string PictureKey(const std::string& name);
// The cached picture under `key`, counting one use; no picture when absent.
TPictureLookup TakeCachedPicture(TStringBitmapList& cache, const std::string& key,
                                 bool cornerTransparency);
// Stores a picture under `key`, counting one use.
void StorePicture(TStringBitmapList& cache, const std::string& key, const TPictureLookup& picture);
// A picture from the host's bytes, typed by their first bytes; no picture for bytes
// that are no picture this program reads.
TPictureLookup PictureFromBytes(std::string_view bytes, bool cornerTransparency);

// The current screen's depth and shared palette, which pictures are fitted to.
ScreenColors ScreenPictureColors();

// The placeholders every document shares: shown while images are off, and for a
// picture that could not be loaded (drawn through its mask).
const platform::Bitmap& DefaultPicture();
const platform::Bitmap& ErrorPicture();
const platform::Bitmap& ErrorMask();

class TImageObj : public TFloatingObj {
public:
    // An IMG: `source` is SRC already expanded to a file name.
    TImageObj(TSectionList* document, const TAttributeList& attributes, const std::string& source);
    // A background picture, by its name as a style sheet gives it: no border, no spacing.
    static std::unique_ptr<TImageObj> CreateFromName(TSectionList* document,
                                                     const std::string& name);
    ~TImageObj() override;

    std::unique_ptr<TFloatingObj> CreatePrintCopy(TSectionList* document) const override;
    // vertical-align and float, the title, margins as spacings, width and height.
    void ApplyProperties(const TProperties& props);
    void SizeFor(platform::Canvas& canvas, int availWidth, TFontObj* font) override;
    bool IsLoaded() const override { return !isError_; }
    bool WidthIsPercent() const override { return widthIsPercent; }
    bool IsImage() const override { return true; }
    void Draw(platform::Canvas& canvas, int x, int y) override;
    unsigned HitTest(int X, int Y, std::string& title, const TUrlTarget*& linkTarget) override;
    int BorderWidth() const override { return hasBorder ? 1 : 0; }
    std::string AltText() const override { return altText; }
    // Records the state; an ACTIVE image with frames shows the frame of that state.
    void SetHoverState(int state) override;

    const platform::Bitmap* Picture() const { return picture_.get(); }
    // The animated GIF this image shows (its own copy of the cached one), if any.
    const TGIFImage* Animation() const { return gif_.get(); }
    std::shared_ptr<const platform::Bitmap> PictureShared() const { return isPlaceholder_ ? nullptr : picture_; }
    std::shared_ptr<const platform::Bitmap> MaskShared() const { return isPlaceholder_ ? nullptr : mask_; }
    bool IsPlaceholder() const { return isPlaceholder_; }
    // The picture the host supplied for a waiting image; no picture shows the error
    // sign. The image holds the cache use `key` (if any) from now on.
    void TakeSuppliedPicture(const TPictureLookup& found, const std::string& key);

    std::string source;
    std::string altText;  // UTF-8
    std::string hintText;  // UTF-8
    int givenWidth = 0;
    bool widthIsPercent = false;
    int givenHeight = 0;
    bool borderOff = false;
    bool serverMap = false;
    int transparency = 0;  // 0 none, 1 lower-left corner asked, 2 mask supplied, 3 other
    bool hasClientMap = false;
    std::string clientMapName;
    bool isActive = false;
    int hoverState = 0;  // 0 normal, 1 under the mouse, 2 pressed
    int pictureWidth = 0;
    int pictureHeight = 0;
    bool sized = false;
    bool hasBorder = false;
    bool waiting = false;  // showing the default picture until the host supplies one
    // The image input whose picture this is (not on a print copy). Either may go
    // first (a table given up while it was read takes its pictures with it): each lets
    // go of the other.
    TImageFormControlObj* formControl = nullptr;
    TFormControlObj* FormControl() const override;

  private:
    TImageObj(TSectionList* document, const TImageObj& source);
    void Obtain();
    void StartWaiting(const std::string& key);
    void TakePicture(const TPictureLookup& found, const std::string& key);
    void ShowError();
    void ReleaseAnimation();
    void DrawPicture(platform::Canvas& canvas, int x, int y, int w, int h);

    TSectionList* document_;
    std::string givenSource_;  // SRC as written, for the host's requests
    std::shared_ptr<platform::Bitmap> picture_;
    std::shared_ptr<platform::Bitmap> mask_;
    std::unique_ptr<TGIFImage> gif_;
    std::unique_ptr<TAnimatedPicture> animation_;  // on the document's animated list
    std::string cacheKey_;  // the cache use this image holds, if any
    bool looked_ = false;
    bool isPlaceholder_ = false;
    bool isError_ = false;
    bool inLink_ = false;
    bool printCopy_ = false;
    platform::TColor textColor_ = 0;
    const TUrlTarget* link_ = nullptr;
    const TFontObj* linkRun_ = nullptr;  // the link's run it stands in, for its focus
    TUrlTarget mapTarget_;  // the link a map or server-side map gave last
};
