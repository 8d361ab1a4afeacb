#include "layout/DocumentDefaults.h"

#include "image/ImageCache.h"
#include "layout/Document.h"

void SetDocumentDefaults(TSectionList& document, const TDocumentDefaults& d) {
    document.SetDefaults(d.fontName, d.preFontName, d.fontSize, d.fontColor, d.linkColor,
                         d.visitedColor, d.overLinkColor, d.hoverLinks, d.background, d.charset,
                         d.marginHeight, d.marginWidth, d.linkUnderline);
}

void PrepareLoad(TSectionList& document, TStringBitmapList& cache,
                 const TDocumentDefaults& defaults) {
    document.imageCache = &cache;
    document.Clear();
    cache.BumpAndCheck();
    SetDocumentDefaults(document, defaults);
}
