#pragma once
// The one-column list of names. It draws nothing itself: every visible row is
// handed to OnDrawCell, so a list of 200,000 names costs only the rows on screen.

#include <QAbstractScrollArea>

#include <functional>

namespace app {

class NameGrid : public QAbstractScrollArea {
  public:
    using DrawCellEvent =
        std::function<void(QPainter& painter, int row, const QRect& rect, bool selected)>;
    using NotifyEvent = std::function<void()>;

    explicit NameGrid(QWidget* parent = nullptr);

    int rowCount() const { return rowCount_; }
    void setRowCount(int count);  // at least 1
    int row() const { return row_; }
    // Moves the current row (selected, scrolled into view) and raises OnClick.
    void setRow(int row);
    int rowHeight() const { return rowHeight_; }
    void setDefaultRowHeight(int height);
    int topRow() const;
    int visibleRowCount() const;
    // Rows drawn by the last paint (for checking that only visible rows are drawn).
    int lastPaintedRowCount() const { return lastPaintedRows_; }

    DrawCellEvent OnDrawCell;
    // Raised when a click on a cell is released and whenever the current row moves.
    NotifyEvent OnClick;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    int rowAt(int y) const;
    void updateScrollRange();
    void moveTo(int row, bool raiseClick);

    int rowCount_ = 1;
    int row_ = 0;
    int rowHeight_ = 15;
    int columnWidth_ = 1280;
    int lastPaintedRows_ = 0;
    bool pressed_ = false;
};

}  // namespace app
