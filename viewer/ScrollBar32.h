#pragma once
// The viewer's scroll bars. Positions are kept the classic way: a maximum, a page size
// and a position whose largest value is maximum - page size + 1, and a separate large
// change for page steps (Qt's page step sets the thumb's size). The vertical bar's
// ranges are 32-bit, so pages far higher than 32767 pixels scroll over their whole height.

#include <QScrollBar>

class T32ScrollBar : public QScrollBar {
  public:
    explicit T32ScrollBar(Qt::Orientation orientation, QWidget* parent = nullptr);

    // Sets all four at once; the same four again change nothing.
    void SetParams(int position, int pageSize, int maximum, int minimum = 0);
    int Position() const { return value(); }
    void SetPosition(int position);
    int PageSize() const { return pageSize_; }
    int Max() const { return max_; }
    int Min() const { return min_; }

    int SmallChange() const { return singleStep(); }
    int LargeChange() const { return largeChange_; }
    void SetLargeChange(int change) { largeChange_ = change; }

  private:
    void Apply();

    int min_ = 0;
    int max_ = 0;
    int pageSize_ = 0;
    int largeChange_ = 1;
};
