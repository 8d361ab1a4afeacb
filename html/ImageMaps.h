#pragma once
// Client-side image maps: the areas of one MAP and the hit test that finds the link under
// a point of the image.

#include <memory>
#include <string>
#include <vector>

#include "html/Anchors.h"
#include "platform/Region.h"

class TAttributeList;
class THtmlReader;

class TMapItem {
  public:
    // Adds one AREA: its link (none for NOHREF), target and shape. An area with too few
    // coordinates for its shape is left out.
    void AddArea(const TAttributeList& attributes);
    // The link of the first area, in map order, that holds the point; false when that area
    // has no link or no area holds the point.
    bool HitTest(int x, int y, std::unique_ptr<TUrlTarget>& urlTarget) const;

    int AreaCount() const { return static_cast<int>(HrefList.size()); }

    std::string MapId;  // the map's NAME, upper case

    struct Area {
        std::string href;
        platform::Region region;
    };
    std::vector<Area> HrefList;
    std::vector<std::string> TargetList;
};

// The numbers of a COORDS value: split at commas and spaces, at most 301, a piece that
// is not a whole number reads as 0, an empty piece ends the list.
std::vector<int> ParseCoords(const std::string& text);

// At a MAP tag: reads its areas up to /MAP and then, with `readNext`, the next symbol
// (without it the reader stays at /MAP, or at the tag that cut the map short). The map
// is returned when /MAP closed it, none when the text ended or other tags cut it short.
std::unique_ptr<TMapItem> ParseMap(THtmlReader& reader, bool readNext = true);
