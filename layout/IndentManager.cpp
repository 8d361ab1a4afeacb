#include "layout/IndentManager.h"

#include <algorithm>
#include <climits>

#include "layout/FloatingObj.h"

void IndentManager::SetEdges(int left, int right) {
    leftX = left;
    rightX = right;
    currentOwner = nullptr;
}

void IndentManager::Clear() {
    leftEdges.clear();
    rightEdges.clear();
}

int IndentManager::LeftEdgeAt(int Y) const {
    int x = 0;
    bool any = false;
    for (const IndentRec& r : leftEdges)
        if (Applies(r, Y) && (!any || r.x > x)) {
            x = r.x;
            any = true;
        }
    return leftX + (any ? x : 0);
}

int IndentManager::RightEdgeAt(int Y) const {
    int x = 0;
    bool any = false;
    for (const IndentRec& r : rightEdges)
        if (Applies(r, Y) && (!any || r.x < x)) {
            x = r.x;
            any = true;
        }
    return any ? leftX + x : rightX;
}

int IndentManager::LowestFloatBottom() const {
    int lowest = 0;
    for (const auto* list : {&leftEdges, &rightEdges})
        for (const IndentRec& r : *list)
            if (r.owner == nullptr) lowest = std::max(lowest, r.toY);
    return lowest;
}

void IndentManager::FloatBottoms(int& left, int& right) const {
    left = right = 0;
    for (const IndentRec& r : leftEdges)
        if (r.owner == nullptr) left = std::max(left, r.toY + 1);
    for (const IndentRec& r : rightEdges)
        if (r.owner == nullptr) right = std::max(right, r.toY + 1);
}

int IndentManager::NextFloatEndY(int Y) const {
    int best[2] = {INT_MAX, INT_MAX};
    const std::vector<IndentRec>* lists[2] = {&leftEdges, &rightEdges};
    for (int side = 0; side < 2; ++side)
        for (const IndentRec& r : *lists[side])
            if (r.owner == nullptr && r.toY > Y) best[side] = std::min(best[side], r.toY);
    const int result = std::min(best[0], best[1]);
    return result == INT_MAX ? Y : result;
}

int IndentManager::ClearY(int clearSides, int Y) const {
    int lowest = Y;
    if (clearSides & 1)
        for (const IndentRec& r : leftEdges)
            if (r.owner == nullptr) lowest = std::max(lowest, r.toY);
    if (clearSides & 2)
        for (const IndentRec& r : rightEdges)
            if (r.owner == nullptr) lowest = std::max(lowest, r.toY);
    return lowest;
}

int IndentManager::PushLeftEdge(int X, int Y) {
    leftEdges.push_back({X - leftX, Y, kOpenEdgeY, currentOwner, false});
    return static_cast<int>(leftEdges.size()) - 1;
}

int IndentManager::PushRightEdge(int X, int Y) {
    rightEdges.push_back({X - leftX, Y, kOpenEdgeY, currentOwner, false});
    return static_cast<int>(rightEdges.size()) - 1;
}

void IndentManager::PopLeftEdge(int index) {
    if (index >= 0 && index < static_cast<int>(leftEdges.size()))
        leftEdges.erase(leftEdges.begin() + index);
}

void IndentManager::PopRightEdge(int index) {
    if (index >= 0 && index < static_cast<int>(rightEdges.size()))
        rightEdges.erase(rightEdges.begin() + index);
}

void IndentManager::PlaceFloat(int Y, TFloatingObj& object) {
    const int width = object.FloatWidth();
    const int height = object.FloatHeight();
    if (object.Alignment() == kFloatLeft) {
        const int edge = LeftEdgeAt(Y);
        object.floatIndent = edge + object.gapLeft - leftX;
        leftEdges.push_back({edge + width - leftX, Y, Y + height, nullptr, true});
    } else {
        const int edge = RightEdgeAt(Y);
        rightEdges.push_back({edge - width - leftX, Y, Y + height, nullptr, true});
        object.floatIndent = edge + object.gapLeft - width - leftX;
    }
    object.paintY = Y;
}

void IndentManager::PlaceFloatBlock(int Y, int X, int side, int height) {
    if (side == kFloatLeft)
        leftEdges.push_back({X - leftX, Y, Y + height, nullptr, true});
    else
        rightEdges.push_back({X - leftX, Y, Y + height, nullptr, true});
}
