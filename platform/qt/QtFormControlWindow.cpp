#include "platform/qt/QtFormControlWindow.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFocusEvent>
#include <QImage>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRawFont>
#include <QResizeEvent>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QTextBlock>
#include <QTextLayout>

#include <algorithm>
#include <climits>
#include <cmath>

namespace platform {

namespace {

QString ToQString(const std::u16string& text) {
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

std::u16string ToU16(const QString& text) {
    return std::u16string(reinterpret_cast<const char16_t*>(text.utf16()),
                          static_cast<std::size_t>(text.size()));
}

QColor ToQColor(TColor color) {
    const TColor rgb = ColorToRGB(color);
    return QColor(RedOf(rgb), GreenOf(rgb), BlueOf(rgb));
}

// The font a canvas draws `spec` with, `scale` times as large.
QFont ToQFont(const FontSpec& spec, double scale) {
    QFont font = spec.face.empty() ? QFont() : QFont(QString::fromUtf8(spec.face.c_str()));
    font.setBold(spec.bold());
    font.setItalic(spec.italic());
    font.setUnderline(spec.underline());
    font.setStrikeOut(spec.strikeOut());
    int pixels = spec.height < 0 ? -spec.height : spec.height;
    if (pixels == 0) pixels = 16;
    if (spec.height > 0) {
        // A cell height: the em size whose ascent and descent make it.
        QFont probe = font;
        probe.setPixelSize(100);
        const QRawFont raw = QRawFont::fromFont(probe);
        const double cell = raw.ascent() + raw.descent();
        if (cell > 0) pixels = std::max(1, qRound(pixels * 100.0 / cell));
    }
    font.setPixelSize(std::max(1, qRound(pixels * scale)));
    return font;
}

// Words longer than this in a text area are broken anywhere, not at word boundaries.
constexpr int kLongestWordWrapped = 256;

int LongestUnbrokenRun(const QString& text) {
    int longest = 0, run = 0;
    for (const QChar c : text) {
        run = c.isSpace() ? 0 : run + 1;
        longest = std::max(longest, run);
    }
    return longest;
}

// A radio button the document groups by NAME: Qt must not uncheck the others of the same
// parent, and a click on a checked one leaves it checked.
class RadioButton : public QRadioButton {
  public:
    using QRadioButton::QRadioButton;

  protected:
    void nextCheckState() override { setChecked(true); }
};

}  // namespace

// Everything a set* call does to the widget happens inside one of these: the signals it
// causes are not the user's changes.
class QtFormControlWindow::Quiet {
  public:
    explicit Quiet(const QtFormControlWindow* window)
        : window_(const_cast<QtFormControlWindow*>(window)) {
        ++window_->quiet_;
    }
    ~Quiet() { --window_->quiet_; }
    Quiet(const Quiet&) = delete;
    Quiet& operator=(const Quiet&) = delete;

  private:
    QtFormControlWindow* window_;
};

// Focus and keys of the widget, seen before the widget itself sees them.
class QtFormControlWindow::Events : public QObject {
  public:
    Events(QtFormControlWindow* owner, QWidget* widget) : QObject(widget), owner_(owner) {
        widget->installEventFilter(this);
    }
    void Forget() { owner_ = nullptr; }
    void FlushSelection() {
        if (owner_) owner_->FlushSelection();
    }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (!owner_ || watched != parent()) return false;
        switch (event->type()) {
            case QEvent::FocusIn:
            case QEvent::FocusOut:
                // A drop-down list's own popup takes the focus for a while: the control
                // keeps it as far as the page is concerned.
                if (static_cast<QFocusEvent*>(event)->reason() == Qt::PopupFocusReason)
                    return false;
                if (owner_->onFocusChange) owner_->onFocusChange(event->type() == QEvent::FocusIn);
                return false;
            case QEvent::KeyPress:
            case QEvent::KeyRelease:
                return Key(static_cast<QKeyEvent*>(event));
            default:
                return false;
        }
    }

  private:
    bool Key(QKeyEvent* event) {
        const int key = event->key();
        const bool press = event->type() == QEvent::KeyPress;
        const bool enter = key == Qt::Key_Return || key == Qt::Key_Enter;
        // Tab and Shift+Tab move the focus through the page as Qt does it.
        if (key == Qt::Key_Tab || key == Qt::Key_Backtab) return false;
        switch (owner_->kind_) {
            case FormControlKind::Edit:
                if (enter) {
                    if (press && owner_->onActivate) owner_->onActivate();
                    return true;  // not on to the viewer as well
                }
                return false;
            case FormControlKind::Memo:
            case FormControlKind::ListBox:
            case FormControlKind::ComboBox:
                return false;
            case FormControlKind::CheckBox:
                if (key == Qt::Key_Space) return false;  // checks and unchecks
                return Forward(event);
            case FormControlKind::RadioButton: {
                int dx = 0, dy = 0;
                if (key == Qt::Key_Left) dx = -1;
                if (key == Qt::Key_Right) dx = 1;
                if (key == Qt::Key_Up) dy = -1;
                if (key == Qt::Key_Down) dy = 1;
                if (dx || dy) {
                    if (press && owner_->onArrowKey) owner_->onArrowKey(dx, dy);
                    return true;
                }
                if (key == Qt::Key_Space) return false;  // checks and unchecks
                return Forward(event);
            }
            case FormControlKind::Button:
                if (key == Qt::Key_Space) return false;
                if (enter) {
                    // Enter presses a button as Space does.
                    if (press) static_cast<QPushButton*>(parent())->animateClick();
                    return true;
                }
                return Forward(event);
        }
        return false;
    }

    bool Forward(QKeyEvent* event) {
        if (owner_->keyTarget_) QApplication::sendEvent(owner_->keyTarget_, event);
        event->accept();
        return true;
    }

    QtFormControlWindow* owner_;
};

QtFormControlWindow::QtFormControlWindow(FormControlKind kind, QWidget* parent, QWidget* keyTarget,
                                         std::function<double()> scale)
    : kind_(kind), keyTarget_(keyTarget), scale_(std::move(scale)) {
    QWidget* widget = nullptr;
    switch (kind) {
        case FormControlKind::Edit: {
            auto* edit = new QLineEdit(parent);
            edit->setMaxLength(INT_MAX);
            QObject::connect(edit, &QLineEdit::textEdited, edit, [this] { Changed(); });
            widget = edit;
            break;
        }
        case FormControlKind::Memo: {
            auto* memo = new QPlainTextEdit(parent);
            // Tab leaves a form's text area, as it leaves every other control.
            memo->setTabChangesFocus(true);
            QObject::connect(memo, &QPlainTextEdit::textChanged, memo, [this] { Changed(); });
            widget = memo;
            break;
        }
        case FormControlKind::Button: {
            auto* button = new QPushButton(parent);
            button->setAutoDefault(false);
            QObject::connect(button, &QPushButton::clicked, button, [this] {
                if (onClick) onClick();
            });
            widget = button;
            break;
        }
        case FormControlKind::CheckBox:
        case FormControlKind::RadioButton: {
            QAbstractButton* box = kind == FormControlKind::CheckBox
                                       ? static_cast<QAbstractButton*>(new QCheckBox(parent))
                                       : new RadioButton(parent);
            box->setAutoExclusive(false);
            // clicked comes from the user only, never from setChecked.
            QObject::connect(box, &QAbstractButton::clicked, box, [this] {
                if (onClick) onClick();
            });
            widget = box;
            break;
        }
        case FormControlKind::ListBox: {
            auto* list = new QListWidget(parent);
            list->setSelectionMode(QAbstractItemView::SingleSelection);
            list->setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
            list->setUniformItemSizes(true);
            QObject::connect(list, &QListWidget::itemSelectionChanged, list, [this] {
                if (quiet_ == 0) ReadSelection();
                Changed();
            });
            widget = list;
            break;
        }
        case FormControlKind::ComboBox: {
            auto* combo = new QComboBox(parent);
            combo->setEditable(false);
            QObject::connect(combo, &QComboBox::currentIndexChanged, combo, [this] { Changed(); });
            widget = combo;
            break;
        }
    }
    widget->setFocusPolicy(Qt::StrongFocus);
    widget->hide();
    const QSize hint = widget->sizeHint();
    widget->setGeometry(-4000, 0, hint.width(), hint.height());
    placed_ = widget->geometry();
    placedScale_ = Scale();
    bounds_ = {-4000, 0, -4000 + ToPage(hint.width()), ToPage(hint.height())};
    widget_ = widget;
    events_ = new Events(this, widget);
}

QtFormControlWindow::~QtFormControlWindow() {
    if (widget_) {
        events_->Forget();
        // The widget's signals must not reach this object while it goes.
        QObject::disconnect(widget_.data(), nullptr, nullptr, nullptr);
        setVisible(false);
        // The page may be cleared from inside the widget's own click or key: it goes once
        // that is over.
        widget_->deleteLater();
    }
}

double QtFormControlWindow::Scale() const {
    const double scale = scale_ ? scale_() : 1.0;
    return scale > 0 ? scale : 1.0;
}

int QtFormControlWindow::ToPage(int screen) const {
    const double scale = Scale();
    return scale == 1.0 ? screen : static_cast<int>(std::lround(screen / scale));
}

void QtFormControlWindow::Changed() {
    if (quiet_ == 0 && onChange) onChange();
}

void QtFormControlWindow::ApplyFont() const {
    if (!widget_ || !hasFont_) return;
    const double scale = Scale();
    if (scale == fontScale_) return;
    fontScale_ = scale;
    widget_->setFont(ToQFont(font_, scale));
}

void QtFormControlWindow::ApplyGeometry() {
    if (!widget_) return;
    const double scale = Scale();
    QRect screen;
    if (scale == 1.0) {
        screen = QRect(bounds_.left, bounds_.top, bounds_.width(), bounds_.height());
    } else {
        // Both edges go where the page's painting puts those page pixels.
        const auto at = [scale](int page) { return static_cast<int>(std::floor(page * scale)); };
        screen = QRect(QPoint(at(bounds_.left), at(bounds_.top)),
                       QPoint(at(bounds_.right) - 1, at(bounds_.bottom) - 1));
    }
    placed_ = screen;
    placedScale_ = scale;
    if (widget_->geometry() != screen) widget_->setGeometry(screen);
}

// ---- Focus and Tab order ----

bool QtFormControlWindow::setFocus() {
    if (!widget_ || widget_->isHidden() || !widget_->isEnabled()) return false;
    widget_->setFocus(Qt::OtherFocusReason);
    return true;
}

bool QtFormControlWindow::hasFocus() const {
    return widget_ && widget_->hasFocus();
}

void QtFormControlWindow::placeAfter(TabStopWindow* previous) {
    if (!widget_) return;
    QWidget* before = keyTarget_;
    if (QWidget* other = WidgetOf(previous)) before = other;
    if (before) QWidget::setTabOrder(before, widget_);
}

// ---- Every kind ----

void QtFormControlWindow::setBounds(const Rect& bounds) {
    ApplyFont();
    bounds_ = bounds;
    ApplyGeometry();
}

Rect QtFormControlWindow::bounds() const {
    if (!widget_) return {};
    // The zoom changed since the window was placed: it goes where the page is drawn now,
    // also for a caller that only moves it when its place differs.
    if (Scale() != placedScale_) {
        ApplyFont();
        const_cast<QtFormControlWindow*>(this)->ApplyGeometry();
    }
    const QRect now = widget_->geometry();
    if (now == placed_) return bounds_;
    // Moved by Qt itself (the surface scrolled with its children): read back.
    const int left = ToPage(now.left()), top = ToPage(now.top());
    return {left, top, left + bounds_.width(), top + bounds_.height()};
}

void QtFormControlWindow::setVisible(bool visible) {
    if (!widget_) return;
    if (visible) {
        ApplyFont();
        FlushSelection();
    }
    // Qt would hand the focus of a control going out of sight to the next one in the Tab
    // order, and the page would scroll back to show that one: the viewer takes it.
    if (!visible && widget_->hasFocus() && keyTarget_) keyTarget_->setFocus(Qt::OtherFocusReason);
    widget_->setVisible(visible);
}

bool QtFormControlWindow::isVisible() const {
    return widget_ && !widget_->isHidden();
}

void QtFormControlWindow::setEnabled(bool enabled) {
    if (widget_) widget_->setEnabled(enabled);
}

bool QtFormControlWindow::isEnabled() const {
    return widget_ && widget_->isEnabled();
}

void QtFormControlWindow::setFont(const FontSpec& font) {
    font_ = font;
    hasFont_ = true;
    fontScale_ = 0;
    ApplyFont();
}

void QtFormControlWindow::setColors(TColor text, TColor background) {
    if (!widget_) return;
    QPalette palette = widget_->palette();
    if (text != clNone) {
        const QColor color = ToQColor(text);
        for (QPalette::ColorRole role :
             {QPalette::Text, QPalette::WindowText, QPalette::ButtonText})
            palette.setColor(role, color);
    }
    if (background != clNone) {
        const QColor color = ToQColor(background);
        switch (kind_) {
            case FormControlKind::CheckBox:
            case FormControlKind::RadioButton:
                // The box sits on the page: its background is the page's around it.
                palette.setColor(QPalette::Window, color);
                widget_->setAutoFillBackground(true);
                break;
            case FormControlKind::Button:
                palette.setColor(QPalette::Button, color);
                break;
            default:
                palette.setColor(QPalette::Base, color);
                break;
        }
    }
    widget_->setPalette(palette);
}

Size QtFormControlWindow::sizeForClient(const Size& client) const {
    if (!widget_) return client;
    ApplyFont();
    // Frames and bars are the same at any zoom; the page is laid out alike at every zoom,
    // so they count as they are.
    int extraX = 0, extraY = 0;
    QStyle* style = widget_->style();
    switch (kind_) {
        case FormControlKind::Edit: {
            QStyleOptionFrame option;
            option.initFrom(widget_);
            option.lineWidth = style->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, widget_);
            const QSize inner(100, 20);
            const QSize outer =
                style->sizeFromContents(QStyle::CT_LineEdit, &option, inner, widget_);
            extraX = outer.width() - inner.width();
            extraY = outer.height() - inner.height();
            break;
        }
        case FormControlKind::Memo:
        case FormControlKind::ListBox: {
            auto* frame = static_cast<QFrame*>(widget_.data());
            extraX = extraY = 2 * frame->frameWidth();
            if (kind_ == FormControlKind::Memo) {
                const int bar = style->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, widget_);
                extraX += bar;
                if (wrap_ == MemoWrap::Off) extraY += bar;
            }
            break;
        }
        default: {
            const QSize hint = widget_->sizeHint();
            const QSize text = widget_->fontMetrics().size(Qt::TextSingleLine, QStringLiteral("A"));
            extraX = std::max(0, hint.width() - text.width());
            extraY = std::max(0, hint.height() - text.height());
            break;
        }
    }
    return {client.cx + extraX, client.cy + extraY};
}

int QtFormControlWindow::scrollBarWidth() const {
    if (!widget_) return 16;
    return widget_->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, widget_);
}

int QtFormControlWindow::naturalHeight() const {
    if (!widget_) return 20;
    ApplyFont();
    // As at no zoom: the text's part of the height is taken at the page's own font size.
    const int height = widget_->sizeHint().height();
    if (!hasFont_ || fontScale_ == 1.0) return height;
    return height - widget_->fontMetrics().height() + QFontMetrics(ToQFont(font_, 1.0)).height();
}

std::shared_ptr<Bitmap> QtFormControlWindow::snapshot() const {
    if (!widget_) return nullptr;
    const_cast<QtFormControlWindow*>(this)->FlushSelection();
    const QImage image = widget_->grab().toImage().convertToFormat(QImage::Format_RGB32);
    if (image.isNull()) return nullptr;
    auto bitmap = std::make_shared<Bitmap>(image.width(), image.height());
    for (int y = 0; y < image.height(); ++y) {
        const auto* from = reinterpret_cast<const std::uint32_t*>(image.constScanLine(y));
        std::uint32_t* to = bitmap->row32(y);
        for (int x = 0; x < image.width(); ++x) to[x] = from[x] & 0x00FFFFFF;
    }
    return bitmap;
}

// ---- Edit, memo, button ----

void QtFormControlWindow::setText(const std::u16string& text) {
    if (!widget_) return;
    const Quiet quiet(this);
    const QString value = ToQString(text);
    switch (kind_) {
        case FormControlKind::Edit:
            static_cast<QLineEdit*>(widget_.data())->setText(value);
            break;
        case FormControlKind::Memo: {
            QString plain = value;
            plain.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
            plain.replace(QLatin1Char('\r'), QLatin1Char('\n'));
            auto* memo = static_cast<QPlainTextEdit*>(widget_.data());
            // Breaking at word boundaries looks for one afresh on every line: through a
            // long run without any, a page's text area would take minutes to show. Such
            // text breaks anywhere instead.
            memo->setWordWrapMode(LongestUnbrokenRun(plain) > kLongestWordWrapped
                                      ? QTextOption::WrapAnywhere
                                      : QTextOption::WrapAtWordBoundaryOrAnywhere);
            memo->setPlainText(plain);
            break;
        }
        case FormControlKind::Button:
        case FormControlKind::CheckBox:
        case FormControlKind::RadioButton:
            static_cast<QAbstractButton*>(widget_.data())->setText(value);
            break;
        default:
            break;
    }
}

std::u16string QtFormControlWindow::text() const {
    if (!widget_) return {};
    switch (kind_) {
        case FormControlKind::Edit:
            return ToU16(static_cast<QLineEdit*>(widget_.data())->text());
        case FormControlKind::Memo: {
            QString plain = static_cast<QPlainTextEdit*>(widget_.data())->toPlainText();
            plain.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
            return ToU16(plain);
        }
        case FormControlKind::Button:
        case FormControlKind::CheckBox:
        case FormControlKind::RadioButton:
            return ToU16(static_cast<QAbstractButton*>(widget_.data())->text());
        default:
            return {};
    }
}

void QtFormControlWindow::setPassword(bool password) {
    auto* edit = qobject_cast<QLineEdit*>(widget_.data());
    if (!edit) return;
    edit->setEchoMode(password ? QLineEdit::Password : QLineEdit::Normal);
    // A star for each character, whatever the style would show.
    edit->setStyleSheet(password ? QStringLiteral("lineedit-password-character: 42") : QString());
}

void QtFormControlWindow::setMaxLength(int length) {
    auto* edit = qobject_cast<QLineEdit*>(widget_.data());
    if (!edit) return;
    const Quiet quiet(this);
    edit->setMaxLength(length > 0 ? length : INT_MAX);
}

void QtFormControlWindow::setWrap(MemoWrap wrap) {
    wrap_ = wrap;
    auto* memo = qobject_cast<QPlainTextEdit*>(widget_.data());
    if (!memo) return;
    if (wrap == MemoWrap::Off) {
        memo->setLineWrapMode(QPlainTextEdit::NoWrap);
        memo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    } else {
        memo->setLineWrapMode(QPlainTextEdit::WidgetWidth);
        memo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    }
    memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
}

std::vector<std::u16string> QtFormControlWindow::visualLines() const {
    auto* memo = qobject_cast<QPlainTextEdit*>(widget_.data());
    if (!memo) return {text()};
    ApplyFont();
    // A hidden memo has neither its new size nor its lines laid out for it: the lines are
    // wanted all the same (a form is submitted from a page scrolled elsewhere), so they
    // are broken here as the memo would break them for its width.
    const bool laidOut = memo->isVisible();
    if (!laidOut && memo->testAttribute(Qt::WA_PendingResizeEvent)) {
        QResizeEvent resize(memo->size(), QSize());
        QApplication::sendEvent(memo, &resize);
        memo->setAttribute(Qt::WA_PendingResizeEvent, false);
    }
    QTextDocument* document = memo->document();
    const qreal width = memo->viewport()->width() - 2 * document->documentMargin();
    std::vector<std::u16string> lines;
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        const QString text = block.text();
        if (wrap_ == MemoWrap::Off || text.isEmpty()) {
            lines.push_back(ToU16(text));
            continue;
        }
        const auto take = [&](const QTextLayout& layout) {
            for (int i = 0; i < layout.lineCount(); ++i) {
                const QTextLine line = layout.lineAt(i);
                lines.push_back(ToU16(text.mid(line.textStart(), line.textLength())));
            }
        };
        if (laidOut) {
            document->documentLayout()->blockBoundingRect(block);  // lays the block out
            if (block.layout() && block.layout()->lineCount() > 0) {
                take(*block.layout());
                continue;
            }
        }
        QTextLayout layout(text, memo->font());
        layout.setTextOption(document->defaultTextOption());
        layout.beginLayout();
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine())
            line.setLineWidth(std::max<qreal>(1, width));
        layout.endLayout();
        take(layout);
    }
    if (lines.empty()) lines.emplace_back();
    return lines;
}

void QtFormControlWindow::moveCaretToStart() {
    if (auto* edit = qobject_cast<QLineEdit*>(widget_.data())) {
        edit->setCursorPosition(0);
    } else if (auto* memo = qobject_cast<QPlainTextEdit*>(widget_.data())) {
        QTextCursor cursor = memo->textCursor();
        cursor.movePosition(QTextCursor::Start);
        memo->setTextCursor(cursor);
    }
}

// ---- Check box, radio button ----

void QtFormControlWindow::setChecked(bool checked) {
    auto* box = qobject_cast<QAbstractButton*>(widget_.data());
    if (!box || kind_ == FormControlKind::Button) return;
    const Quiet quiet(this);
    box->setChecked(checked);
}

bool QtFormControlWindow::isChecked() const {
    auto* box = qobject_cast<QAbstractButton*>(widget_.data());
    return box && box->isChecked();
}

// ---- List box, combo box ----

void QtFormControlWindow::clearItems() {
    const Quiet quiet(this);
    selected_.clear();
    current_ = -1;
    selectionPending_ = false;
    if (auto* list = qobject_cast<QListWidget*>(widget_.data()))
        list->clear();
    else if (auto* combo = qobject_cast<QComboBox*>(widget_.data()))
        combo->clear();
}

void QtFormControlWindow::addItem(const std::u16string& text) {
    const Quiet quiet(this);
    if (auto* list = qobject_cast<QListWidget*>(widget_.data())) {
        list->addItem(ToQString(text));
        selected_.push_back(false);
    } else if (auto* combo = qobject_cast<QComboBox*>(widget_.data())) {
        combo->addItem(ToQString(text));
        // A drop-down list starts with nothing chosen; the document chooses.
        if (combo->count() == 1) combo->setCurrentIndex(-1);
    }
}

int QtFormControlWindow::itemCount() const {
    if (auto* list = qobject_cast<QListWidget*>(widget_.data())) return list->count();
    if (auto* combo = qobject_cast<QComboBox*>(widget_.data())) return combo->count();
    return 0;
}

void QtFormControlWindow::setMultiSelect(bool multi) {
    auto* list = qobject_cast<QListWidget*>(widget_.data());
    if (!list) return;
    const Quiet quiet(this);
    multi_ = multi;
    list->setSelectionMode(multi ? QAbstractItemView::ExtendedSelection
                                 : QAbstractItemView::SingleSelection);
    if (!multi) {
        // One at most: the current one if it is selected, else the first selected.
        int keep = current_ >= 0 && IsSelected(current_) ? current_ : -1;
        for (std::size_t i = 0; keep < 0 && i < selected_.size(); ++i)
            if (selected_[i]) keep = static_cast<int>(i);
        SelectOnly(keep);
    }
}

bool QtFormControlWindow::IsSelected(int index) const {
    return index >= 0 && static_cast<std::size_t>(index) < selected_.size() &&
           selected_[static_cast<std::size_t>(index)];
}

void QtFormControlWindow::SelectOnly(int index) {
    // A single-choice list has at most one selected: the last one set, found without a
    // walk through all the items.
    std::fill(selected_.begin(), selected_.end(), false);
    if (index >= 0 && static_cast<std::size_t>(index) < selected_.size())
        selected_[static_cast<std::size_t>(index)] = true;
    singleSelected_ = index;
}

void QtFormControlWindow::SelectionChanged() {
    // Thousands of options are selected one by one as a page is built or reset: they go
    // on to the widget together, once the document is done with them.
    if (selectionPending_ || !events_) return;
    selectionPending_ = true;
    QMetaObject::invokeMethod(
        events_, [events = events_] { events->FlushSelection(); }, Qt::QueuedConnection);
}

void QtFormControlWindow::FlushSelection() {
    auto* list = qobject_cast<QListWidget*>(widget_.data());
    if (!selectionPending_ || !list) return;
    selectionPending_ = false;
    const Quiet quiet(this);
    QAbstractItemModel* model = list->model();
    QItemSelection selection;
    const int count = static_cast<int>(selected_.size());
    for (int i = 0; i < count;) {
        if (!selected_[static_cast<std::size_t>(i)]) {
            ++i;
            continue;
        }
        int last = i;
        while (last + 1 < count && selected_[static_cast<std::size_t>(last + 1)]) ++last;
        selection.select(model->index(i, 0), model->index(last, 0));
        i = last + 1;
    }
    QItemSelectionModel* selectionModel = list->selectionModel();
    selectionModel->setCurrentIndex(model->index(current_, 0), QItemSelectionModel::NoUpdate);
    selectionModel->select(selection, QItemSelectionModel::ClearAndSelect);
}

void QtFormControlWindow::ReadSelection() {
    auto* list = qobject_cast<QListWidget*>(widget_.data());
    if (!list) return;
    selectionPending_ = false;
    std::fill(selected_.begin(), selected_.end(), false);
    singleSelected_ = -1;
    for (const QModelIndex& index : list->selectionModel()->selectedIndexes())
        if (index.row() >= 0 && static_cast<std::size_t>(index.row()) < selected_.size()) {
            selected_[static_cast<std::size_t>(index.row())] = true;
            singleSelected_ = index.row();
        }
    current_ = list->currentRow();
}

void QtFormControlWindow::setItemSelected(int index, bool selected) {
    if (index < 0 || index >= itemCount()) return;
    const Quiet quiet(this);
    if (qobject_cast<QListWidget*>(widget_.data())) {
        if (!selected) {
            selected_[static_cast<std::size_t>(index)] = false;
            if (singleSelected_ == index) singleSelected_ = -1;
        } else if (multi_) {
            selected_[static_cast<std::size_t>(index)] = true;
            current_ = index;
        } else {
            if (singleSelected_ >= 0 &&
                static_cast<std::size_t>(singleSelected_) < selected_.size())
                selected_[static_cast<std::size_t>(singleSelected_)] = false;
            selected_[static_cast<std::size_t>(index)] = true;
            singleSelected_ = index;
            current_ = index;
        }
        SelectionChanged();
    } else if (auto* combo = qobject_cast<QComboBox*>(widget_.data())) {
        if (selected)
            combo->setCurrentIndex(index);
        else if (combo->currentIndex() == index)
            combo->setCurrentIndex(-1);
    }
}

bool QtFormControlWindow::isItemSelected(int index) const {
    if (index < 0 || index >= itemCount()) return false;
    if (qobject_cast<QListWidget*>(widget_.data())) return IsSelected(index);
    if (auto* combo = qobject_cast<QComboBox*>(widget_.data()))
        return combo->currentIndex() == index;
    return false;
}

void QtFormControlWindow::setCurrentIndex(int index) {
    const Quiet quiet(this);
    if (index < 0 || index >= itemCount()) index = -1;
    if (qobject_cast<QListWidget*>(widget_.data())) {
        // The item with the caret is selected as well, in a list of either kind: a list
        // reset with nothing chosen by the page offers its first item.
        current_ = index;
        if (!multi_) {
            SelectOnly(index);
        } else if (index >= 0) {
            selected_[static_cast<std::size_t>(index)] = true;
        }
        SelectionChanged();
    } else if (auto* combo = qobject_cast<QComboBox*>(widget_.data())) {
        combo->setCurrentIndex(index);
    }
}

int QtFormControlWindow::currentIndex() const {
    if (qobject_cast<QListWidget*>(widget_.data())) return current_;
    if (auto* combo = qobject_cast<QComboBox*>(widget_.data())) return combo->currentIndex();
    return -1;
}

void QtFormControlWindow::setTopIndex(int index) {
    auto* list = qobject_cast<QListWidget*>(widget_.data());
    if (!list || list->count() == 0) return;
    FlushSelection();
    index = std::clamp(index, 0, list->count() - 1);
    list->scrollToItem(list->item(index), QAbstractItemView::PositionAtTop);
}

int QtFormControlWindow::topIndex() const {
    auto* list = qobject_cast<QListWidget*>(widget_.data());
    if (!list) return 0;
    const QModelIndex top = list->indexAt(QPoint(1, 1));
    return top.isValid() ? top.row() : list->verticalScrollBar()->value();
}

}  // namespace platform
