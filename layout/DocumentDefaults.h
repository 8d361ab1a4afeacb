#pragma once
// What a document starts from before a page is read into it: the host's default fonts,
// colours, margins and link looks. The viewer and the render tool prepare their
// documents through the same two calls, so a page renders the same in both.

#include <string>

#include "platform/Font.h"
#include "platform/Types.h"

class TSectionList;
class TStringBitmapList;

struct TDocumentDefaults {
    std::string fontName = "Times New Roman";
    std::string preFontName = "Courier New";
    double fontSize = 12;  // points
    platform::TColor fontColor = platform::SystemColorValue(platform::colorButtonText);
    platform::TColor background = platform::SystemColorValue(platform::colorButtonFace);
    platform::TColor linkColor = platform::RGBColor(0, 0, 0xFF);
    platform::TColor visitedColor = platform::RGBColor(0x80, 0, 0x80);
    platform::TColor overLinkColor = platform::RGBColor(0, 0, 0xFF);
    int charset = platform::DEFAULT_CHARSET;
    int marginWidth = 10;
    int marginHeight = 5;
    bool linkUnderline = true;
    bool hoverLinks = false;
};

// Hands the defaults to the document (and so to its default style sheet).
void SetDocumentDefaults(TSectionList& document, const TDocumentDefaults& defaults);

// Readies the document for the next page: it shares `cache`, is emptied, the cache ages
// by one load, and the defaults are set again.
void PrepareLoad(TSectionList& document, TStringBitmapList& cache,
                 const TDocumentDefaults& defaults);
