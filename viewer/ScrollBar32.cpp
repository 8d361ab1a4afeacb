#include "viewer/ScrollBar32.h"

#include <algorithm>

T32ScrollBar::T32ScrollBar(Qt::Orientation orientation, QWidget* parent)
    : QScrollBar(orientation, parent) {
    setFocusPolicy(Qt::NoFocus);
}

void T32ScrollBar::SetParams(int position, int pageSize, int maximum, int minimum) {
    if (position == value() && pageSize == pageSize_ && maximum == max_ && minimum == min_) return;
    min_ = minimum;
    max_ = maximum;
    pageSize_ = pageSize;
    Apply();
    setValue(position);
}

void T32ScrollBar::SetPosition(int position) {
    setValue(position);
}

void T32ScrollBar::Apply() {
    const long long top =
        std::max<long long>(min_, static_cast<long long>(max_) - std::max(pageSize_, 1) + 1);
    setRange(min_, static_cast<int>(std::min<long long>(top, INT32_MAX)));
    setPageStep(std::max(pageSize_, 1));
}
