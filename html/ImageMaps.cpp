#include "html/ImageMaps.h"

#include <algorithm>
#include <charconv>
#include <climits>

#include "html/Lexer.h"
#include "platform/Text.h"

namespace {

constexpr std::size_t MaxCoords = 301;
constexpr std::size_t MaxPiece = 20;

std::string Trimmed(const std::string& s) {
    std::size_t b = 0, e = s.size();
    while (b < e && static_cast<unsigned char>(s[b]) <= ' ') ++b;
    while (e > b && static_cast<unsigned char>(s[e - 1]) <= ' ') --e;
    return s.substr(b, e - b);
}

int ToIntDefault(std::string_view piece) {
    if (!piece.empty() && piece[0] == '+') piece.remove_prefix(1);
    int value = 0;
    const auto [end, error] = std::from_chars(piece.data(), piece.data() + piece.size(), value);
    if (error != std::errc() || end != piece.data() + piece.size() || piece.empty()) return 0;
    return value;
}

// Coordinates far off the image are kept far off without overflowing the arithmetic.
int Clamp(long long v) {
    return static_cast<int>(std::clamp<long long>(v, INT_MIN / 4, INT_MAX / 4));
}

}  // namespace

std::vector<int> ParseCoords(const std::string& text) {
    std::vector<int> numbers;
    std::string rest = Trimmed(text);
    while (numbers.size() < MaxCoords) {
        const auto comma = rest.find(',');
        const auto space = rest.find(' ');
        std::string piece;
        if (comma != std::string::npos && (space == std::string::npos || comma < space)) {
            piece = rest.substr(0, comma);
            rest.erase(0, comma);
        } else if (space == std::string::npos) {
            piece = rest;
            rest.clear();
        } else {
            piece = rest.substr(0, space);
            rest.erase(0, space);
        }
        if (piece.empty()) break;
        const auto keep = rest.find_first_not_of(", ");
        rest.erase(0, keep == std::string::npos ? rest.size() : keep);
        if (piece.size() > MaxPiece) piece.resize(MaxPiece);
        numbers.push_back(ToIntDefault(piece));
    }
    return numbers;
}

void TMapItem::AddArea(const TAttributeList& attributes) {
    enum { Rectangle, Circle, Polygon } shape = Rectangle;
    std::string href, target;
    std::vector<int> coords;
    for (int i = 0; i < attributes.Count(); ++i) {
        const TAttribute& a = attributes[i];
        switch (a.Symbol) {
            case symHref:
                href = a.StrValue;
                break;
            case symNoHref:
                href.clear();
                break;
            case symTarget:
                target = a.StrValue;
                break;
            case symShape: {
                const std::string kind = platform::AsciiLowerCase(a.StrValue.substr(0, 4));
                shape = kind == "circ" ? Circle : kind == "poly" ? Polygon : Rectangle;
                break;
            }
            case symCoords:
                coords = ParseCoords(a.StrValue);
                break;
            default:
                break;
        }
    }
    const auto n = [&](std::size_t i) { return static_cast<long long>(coords[i]); };
    platform::Region region;
    if (shape == Rectangle && coords.size() >= 4) {
        region = platform::Region::MakeRectangle(Clamp(n(0)), Clamp(n(1)), Clamp(n(2) + 1),
                                                 Clamp(n(3) + 1));
    } else if (shape == Circle && coords.size() >= 3) {
        region = platform::Region::MakeEllipse(Clamp(n(0) - n(2)), Clamp(n(1) - n(2)),
                                               Clamp(n(0) + n(2) + 1), Clamp(n(1) + n(2) + 1));
    } else if (shape == Polygon && coords.size() >= 6) {
        std::vector<platform::Point> points;
        for (std::size_t i = 0; i + 1 < coords.size(); i += 2)
            points.push_back({Clamp(n(i)), Clamp(n(i + 1))});
        region = platform::Region::MakePolygon(std::move(points));
    } else {
        return;
    }
    HrefList.push_back({href, std::move(region)});
    TargetList.push_back(target);
}

bool TMapItem::HitTest(int x, int y, std::unique_ptr<TUrlTarget>& urlTarget) const {
    for (std::size_t i = 0; i < HrefList.size(); ++i) {
        if (!HrefList[i].region.contains(x, y)) continue;
        if (HrefList[i].href.empty()) return false;
        urlTarget = std::make_unique<TUrlTarget>();
        urlTarget->Url = HrefList[i].href;
        urlTarget->Target = TargetList[i];
        return true;
    }
    return false;
}

std::unique_ptr<TMapItem> ParseMap(THtmlReader& reader, bool readNext) {
    auto map = std::make_unique<TMapItem>();
    if (const TAttribute* name = reader.Attributes.FindAttribute(symName))
        map->MapId = platform::AnsiUpperCase(name->StrValue);
    int others = 0;
    reader.NextSymbol();
    while (reader.Sy != symMapEnd && reader.Sy != symEof) {
        if (reader.Sy == symArea) {
            map->AddArea(reader.Attributes);
        } else if (reader.Sy != symText && ++others == 3) {
            break;
        }
        reader.NextSymbol();
    }
    const bool closed = reader.Sy == symMapEnd;
    if (readNext) reader.NextSymbol();
    return closed ? std::move(map) : nullptr;
}
