#pragma once
// The horizontal room of a cell at each y: the edges of the blocks being laid out
// inside it and of the floating images and blocks that text flows around.

#include <vector>

class TFloatingObj;

// Who pushed an edge: a block or a cell (compared by identity only), or nobody for
// a float, whose edge applies whoever is being laid out.
using TEdgeOwner = const void*;

// An edge that lasts until it is popped.
inline constexpr int kOpenEdgeY = 2147483647;

struct IndentRec {
    int x = 0;  // relative to leftX
    int fromY = 0;
    int toY = kOpenEdgeY;
    TEdgeOwner owner = nullptr;
    bool isFloat = false;
};

class IndentManagerBasic {
public:
    int Width() const { return rightX - leftX; }

    int cellWidth = 0;
    int paintWidth = 0;
    std::vector<IndentRec> leftEdges;
    std::vector<IndentRec> rightEdges;
    TEdgeOwner currentOwner = nullptr;
    int leftX = 0;
    int rightX = 0;
};

class IndentManager : public IndentManagerBasic {
public:
    void SetEdges(int left, int right);
    void Clear();

    int LeftEdgeAt(int Y) const;
    int RightEdgeAt(int Y) const;
    int LowestFloatBottom() const;
    // Per side, the lowest float bottom + 1 (0 when none).
    void FloatBottoms(int& left, int& right) const;
    int NextFloatEndY(int Y) const;
    // The y from which floats on the given sides (1 left, 2 right, 3 both) no longer
    // reach; Y itself when none does.
    int ClearY(int clearSides, int Y) const;

    int PushLeftEdge(int X, int Y);
    int PushRightEdge(int X, int Y);
    void PopLeftEdge(int index);
    void PopRightEdge(int index);

    void PlaceFloat(int Y, TFloatingObj& object);
    void PlaceFloatBlock(int Y, int X, int side, int height);

private:
    bool Applies(const IndentRec& r, int Y) const {
        return r.fromY <= Y && Y < r.toY && (r.owner == nullptr || r.owner == currentOwner);
    }
};
