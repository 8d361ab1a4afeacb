#include "app/NameGrid.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>

namespace app {

NameGrid::NameGrid(QWidget* parent) : QAbstractScrollArea(parent) {
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setFocusPolicy(Qt::StrongFocus);
    setFrameShape(QFrame::StyledPanel);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    updateScrollRange();
}

void NameGrid::setRowCount(int count) {
    count = std::max(1, count);
    if (count == rowCount_) return;
    rowCount_ = count;
    if (row_ >= rowCount_) row_ = rowCount_ - 1;
    updateScrollRange();
    viewport()->update();
}

void NameGrid::setDefaultRowHeight(int height) {
    height = std::max(1, height);
    if (height == rowHeight_) return;
    rowHeight_ = height;
    updateScrollRange();
    viewport()->update();
}

int NameGrid::topRow() const {
    return verticalScrollBar()->value();
}

int NameGrid::visibleRowCount() const {
    return std::max(1, viewport()->height() / rowHeight_);
}

void NameGrid::updateScrollRange() {
    QScrollBar* bar = verticalScrollBar();
    bar->setRange(0, std::max(0, rowCount_ - visibleRowCount()));
    bar->setPageStep(visibleRowCount());
    bar->setSingleStep(1);
}

void NameGrid::setRow(int row) {
    moveTo(row, true);
}

void NameGrid::moveTo(int row, bool raiseClick) {
    row = std::clamp(row, 0, rowCount_ - 1);
    const bool moved = row != row_;
    row_ = row;
    if (row_ < topRow())
        verticalScrollBar()->setValue(row_);
    else if (row_ >= topRow() + visibleRowCount())
        verticalScrollBar()->setValue(row_ - visibleRowCount() + 1);
    if (moved) viewport()->update();
    if (moved && raiseClick && OnClick) OnClick();
}

int NameGrid::rowAt(int y) const {
    if (y < 0) return -1;
    const int row = topRow() + y / rowHeight_;
    return row < rowCount_ ? row : -1;
}

void NameGrid::paintEvent(QPaintEvent* event) {
    QPainter painter(viewport());
    const QRect area = event->rect();
    const int first = topRow() + std::max(0, area.top()) / rowHeight_;
    const int last = std::min(rowCount_ - 1, topRow() + area.bottom() / rowHeight_);
    lastPaintedRows_ = 0;
    for (int r = first; r <= last; ++r) {
        const QRect cell(0, (r - topRow()) * rowHeight_, columnWidth_, rowHeight_);
        painter.save();
        painter.setClipRect(cell.intersected(viewport()->rect()));
        if (OnDrawCell) OnDrawCell(painter, r, cell, r == row_);
        painter.restore();
        ++lastPaintedRows_;
    }
    // Below the last row the grid shows its own background.
    const int bottom = (last - topRow() + 1) * rowHeight_;
    if (bottom < viewport()->height())
        painter.fillRect(QRect(0, bottom, viewport()->width(), viewport()->height() - bottom),
                         palette().color(QPalette::Base));
}

void NameGrid::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Up:
            moveTo(row_ - 1, true);
            break;
        case Qt::Key_Down:
            moveTo(row_ + 1, true);
            break;
        case Qt::Key_PageUp:
            moveTo(row_ - visibleRowCount(), true);
            break;
        case Qt::Key_PageDown:
            moveTo(row_ + visibleRowCount(), true);
            break;
        case Qt::Key_Home:
            moveTo(0, true);
            break;
        case Qt::Key_End:
            moveTo(rowCount_ - 1, true);
            break;
        default:
            QAbstractScrollArea::keyPressEvent(event);
            return;
    }
    event->accept();
}

void NameGrid::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    setFocus(Qt::MouseFocusReason);
    const int row = rowAt(event->position().toPoint().y());
    pressed_ = row >= 0;
    if (row >= 0) moveTo(row, false);
}

void NameGrid::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !pressed_) return;
    pressed_ = false;
    if (rowAt(event->position().toPoint().y()) >= 0 && OnClick) OnClick();
}

void NameGrid::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    updateScrollRange();
}

}  // namespace app
