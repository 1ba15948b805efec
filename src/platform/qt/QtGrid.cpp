// The grid control on Qt.
#include "platform/qt/QtGrid.h"

#include <QApplication>
#include <QFocusEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QStyle>

#include <algorithm>

#include "platform/RunTimeError.h"
#include "platform/qt/QtKeys.h"
#include "platform/qt/QtModal.h"

namespace quorrel {

namespace {

QColor ToQColor(Color color) { return QColor::fromRgb(0xFF000000u | color); }
Color FromQColor(const QColor& color) { return color.rgb() & 0xFFFFFFu; }

// Sets a flag for the lifetime of the guard.
class FlagGuard {
public:
    explicit FlagGuard(bool& flag) : flag_(flag), old_(flag) { flag_ = true; }
    ~FlagGuard() { flag_ = old_; }
    FlagGuard(const FlagGuard&) = delete;
    FlagGuard& operator=(const FlagGuard&) = delete;

private:
    bool& flag_;
    bool old_;
};

}  // namespace

QtGrid::QtGrid(QWidget* parent) : QTableWidget(parent) {
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::NoSelection);
    setTabKeyNavigation(false);
    setDragEnabled(false);
    setCornerButtonEnabled(false);
    verticalHeader()->hide();
    horizontalHeader()->setSectionsClickable(false);
    horizontalHeader()->setHighlightSections(false);
    QPalette colours = palette();
    colours.setColor(QPalette::Base, ToQColor(backColor_));
    colours.setColor(QPalette::Text, ToQColor(foreColor_));
    setPalette(colours);
    // The grid is sized to its cells (FitToCells), so nothing ever scrolls out of sight.
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // A row's default height is the font's, with the margins the cells draw their text in; the style's own
    // default is far higher, and nineteen rows of it would not fit on many screens.
    const int rowHeight = fontMetrics().height() +
                          2 * (style()->pixelMetric(QStyle::PM_FocusFrameVMargin, nullptr, this) + 1);
    verticalHeader()->setMinimumSectionSize(rowHeight);
    verticalHeader()->setDefaultSectionSize(rowHeight);
    Reshape(1, 1, 0, 0);
}

void QtGrid::SetTextsToFit(const QStringList& texts) { textsToFit_ = texts; }

// The width of a column that shows each text to fit whole: the style draws a cell's text inside a margin on
// either side, and the grid line takes a pixel of the cell.
int QtGrid::LeastColumnWidth() const {
    int text = 0;
    for (const QString& t : textsToFit_) text = std::max(text, fontMetrics().horizontalAdvance(t));
    if (text == 0) return 0;
    const int margin = style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1;
    return text + 2 * margin + (showGrid() ? 1 : 0);
}

QSize QtGrid::CellsSize() const {
    int width = 2 * frameWidth();
    for (int c = 0; c < columnCount(); ++c) width += columnWidth(c);
    int height = 2 * frameWidth();
    for (int r = 0; r < rowCount(); ++r) height += rowHeight(r);
    if (!horizontalHeader()->isHidden()) {
        const QHeaderView* header = horizontalHeader();
        height += header->maximumHeight() < QWIDGETSIZE_MAX ? header->maximumHeight() : header->sizeHint().height();
    }
    return {width, height};
}

// Called after every change of shape or size.
void QtGrid::FitToCells() {
    if (const QSize size = CellsSize(); size != cellsSize_) {
        cellsSize_ = size;
        emit CellsSizeChanged();
    }
}

QTableWidgetItem* QtGrid::NewCell(const QString& text) const {
    auto* cell = new QTableWidgetItem(text);
    cell->setFlags(Qt::ItemIsEnabled);
    cell->setBackground(ToQColor(backColor_));
    cell->setForeground(ToQColor(foreColor_));
    return cell;
}

bool QtGrid::IsMovable(int row, int col) const {
    return row >= fixedRows_ && row < rows_ && col >= fixedCols_ && col < cols_;
}

// Every change of shape goes through here. Row 0 moves between the table and the header when the grid
// gains or loses its fixed rows; header cells carry no colours of their own.
void QtGrid::Reshape(int rows, int cols, int fixedRows, int fixedCols) {
    FlagGuard shaping(shaping_);
    const int oldHeader = HeaderRows();
    const int newHeader = fixedRows > 0 ? 1 : 0;
    setColumnCount(cols);
    if (oldHeader == 1 && newHeader == 0) {
        insertRow(0);
        for (int c = 0; c < cols; ++c) {
            QTableWidgetItem* label = takeHorizontalHeaderItem(c);
            setItem(0, c, NewCell(label ? label->text() : QString()));
            delete label;
        }
    } else if (oldHeader == 0 && newHeader == 1) {
        const bool hasRow0 = rowCount() > 0;
        for (int c = 0; c < cols; ++c) {
            const QTableWidgetItem* cell = hasRow0 ? item(0, c) : nullptr;
            setHorizontalHeaderItem(c, new QTableWidgetItem(cell ? cell->text() : QString()));
        }
        if (hasRow0) removeRow(0);
    }
    setRowCount(rows - newHeader);
    for (int r = 0; r < rowCount(); ++r)
        for (int c = 0; c < cols; ++c)
            if (!item(r, c)) setItem(r, c, NewCell(QString()));
    if (newHeader)
        for (int c = 0; c < cols; ++c)
            if (!horizontalHeaderItem(c)) setHorizontalHeaderItem(c, new QTableWidgetItem(QString()));
    horizontalHeader()->setVisible(newHeader == 1);
    for (int c = 0; c < cols; ++c) setColumnWidth(c, std::max(columnWidth(c), LeastColumnWidth()));

    rows_ = rows;
    cols_ = cols;
    fixedRows_ = fixedRows;
    fixedCols_ = fixedCols;
    row_ = std::clamp(row_, fixedRows_, std::max(fixedRows_, rows_ - 1));
    col_ = std::clamp(col_, fixedCols_, std::max(fixedCols_, cols_ - 1));
    if (IsMovable(row_, col_)) setCurrentCell(row_ - newHeader, col_);
    else selectionModel()->clearCurrentIndex();
    FitToCells();
}

void QtGrid::Clear() {
    for (int r = 0; r < rowCount(); ++r)
        for (int c = 0; c < columnCount(); ++c) {
            QTableWidgetItem* cell = item(r, c);
            cell->setText(QString());
            cell->setBackground(ToQColor(backColor_));
            cell->setForeground(ToQColor(foreColor_));
        }
    if (HeaderRows())
        for (int c = 0; c < columnCount(); ++c) horizontalHeaderItem(c)->setText(QString());
}

void QtGrid::SetRows(int rows) {
    if (rows < 0) throw errors::InvalidCall();
    Reshape(rows, cols_, std::min(fixedRows_, rows), fixedCols_);
}

void QtGrid::SetCols(int cols) {
    if (cols < 0) throw errors::InvalidCall();
    Reshape(rows_, cols, fixedRows_, std::min(fixedCols_, cols));
}

void QtGrid::SetFixedRows(int rows) {
    if (rows < 0 || rows > rows_) throw errors::InvalidCall();
    Reshape(rows_, cols_, rows, fixedCols_);
}

void QtGrid::SetFixedCols(int cols) {
    if (cols < 0 || cols > cols_) throw errors::InvalidCall();
    Reshape(rows_, cols_, fixedRows_, cols);
}

void QtGrid::SetColWidth(int col, int twips) {
    if (col < 0 || col >= cols_) throw errors::InvalidCall();
    const int pixels = twips < 0 ? horizontalHeader()->defaultSectionSize() : twips * logicalDpiX() / 1440;
    setColumnWidth(col, std::max(pixels, LeastColumnWidth()));
    FitToCells();
}

void QtGrid::SetRowHeight(int row, int twips) {
    if (row < -1 || row >= rows_) throw errors::InvalidCall();
    const int pixels = twips < 0 ? verticalHeader()->defaultSectionSize() : twips * logicalDpiY() / 1440;
    const auto setHeader = [&] {
        if (twips < 0) {
            horizontalHeader()->setMinimumHeight(0);
            horizontalHeader()->setMaximumHeight(QWIDGETSIZE_MAX);
        } else {
            horizontalHeader()->setFixedHeight(pixels);
        }
    };
    if (row == -1) {
        for (int r = 0; r < rowCount(); ++r) setRowHeight(r, pixels);
        if (HeaderRows()) setHeader();
    } else if (row < HeaderRows()) {
        setHeader();
    } else {
        setRowHeight(row - HeaderRows(), pixels);
    }
    FitToCells();
}

void QtGrid::RaiseRowColChange() {
    ++rowColChanges_;
    if (Events.RowColChange) Events.RowColChange();
}

void QtGrid::RaiseGotFocus() {
    focusReported_ = true;
    ++gotFocusEvents_;
    if (Events.GotFocus) Events.GotFocus();
}

// The one place where a move of the table's current cell becomes RowColChange.
void QtGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    QTableWidget::currentChanged(current, previous);
    if (shaping_ || !current.isValid()) return;
    const int row = current.row() + HeaderRows();
    const int col = current.column();
    if (!IsMovable(row, col) || (row == row_ && col == col_)) return;
    row_ = row;
    col_ = col;
    RaiseRowColChange();
}

void QtGrid::MoveCursor(int row, int col) {
    const unsigned before = rowColChanges_;
    setCurrentCell(row - HeaderRows(), col);
    // The table reports no change when its current cell already was the target (a grid without movable
    // columns has none); the grid's cursor still moved.
    if (rowColChanges_ == before && (row != row_ || col != col_)) {
        row_ = row;
        col_ = col;
        RaiseRowColChange();
    }
}

void QtGrid::SetRow(int row) {
    if (row < fixedRows_ || row >= rows_) throw errors::InvalidCall();
    if (row != row_) MoveCursor(row, col_);
}

void QtGrid::SetCol(int col) {
    if (col < fixedCols_ || col >= cols_) throw errors::InvalidCall();
    if (col != col_) MoveCursor(row_, col);
}

void QtGrid::CheckCell(int row, int col) const {
    if (row < 0 || row >= rows_ || col < 0 || col >= cols_) throw RunTimeError(381, "Subscript out of range");
}

QTableWidgetItem* QtGrid::CellItem(int row, int col) const {
    if (row < HeaderRows()) return nullptr;
    return item(row - HeaderRows(), col);
}

std::string QtGrid::TextMatrix(int row, int col) const {
    CheckCell(row, col);
    const QTableWidgetItem* cell = row < HeaderRows() ? horizontalHeaderItem(col) : CellItem(row, col);
    return cell ? cell->text().toStdString() : std::string();
}

void QtGrid::SetTextMatrix(int row, int col, const std::string& text) {
    CheckCell(row, col);
    QTableWidgetItem* cell = row < HeaderRows() ? horizontalHeaderItem(col) : CellItem(row, col);
    cell->setText(QString::fromStdString(text));
}

QTableWidgetItem* QtGrid::Current() const {
    CheckCell(row_, col_);
    QTableWidgetItem* cell = CellItem(row_, col_);
    if (!cell) throw errors::InvalidCall();
    return cell;
}

Color QtGrid::CellBackColor() const { return FromQColor(Current()->background().color()); }
void QtGrid::SetCellBackColor(Color color) { Current()->setBackground(ToQColor(color)); }
Color QtGrid::CellForeColor() const { return FromQColor(Current()->foreground().color()); }
void QtGrid::SetCellForeColor(Color color) { Current()->setForeground(ToQColor(color)); }

// A grid that was never hidden counts as visible, even before its window is first shown.
bool QtGrid::Visible() const { return !isHidden() || !testAttribute(Qt::WA_WState_ExplicitShowHide); }

void QtGrid::SetVisible(bool visible) {
    // Qt would hand the focus of a hidden widget on to the next one in the tab order, which would then
    // announce itself; the focus leaves the grid for nowhere instead.
    if (!visible && window()->focusWidget() == this) clearFocus();
    if (!visible) focusReported_ = false;
    setVisible(visible);
}

bool QtGrid::HasFocus() const { return focusReported_ && isVisible() && window()->focusWidget() == this; }

void QtGrid::SetFocus() {
    if (!isVisible() || !isEnabled()) throw errors::InvalidCall();
    if (HasFocus()) return;
    const unsigned before = gotFocusEvents_;
    setFocus(Qt::OtherFocusReason);
    if (gotFocusEvents_ != before) return;
    // The window is not active, so Qt only noted the focus for the window's activation: report it now,
    // and let the grids of the window that reported the focus before know they have lost it.
    for (QtGrid* other : window()->findChildren<QtGrid*>())
        if (other != this) other->focusReported_ = false;
    RaiseGotFocus();
}

void QtGrid::focusInEvent(QFocusEvent* event) {
    QTableWidget::focusInEvent(event);
    // While a modal window is open, or between two of one chain, the window system may hand the window
    // the focus for a moment: the grid gets it back for good, and says so, when the modal windows close.
    if (!focusReported_ && !ModalWindowHasTheFocus()) RaiseGotFocus();
}

void QtGrid::focusOutEvent(QFocusEvent* event) {
    QTableWidget::focusOutEvent(event);
    switch (event->reason()) {
    case Qt::PopupFocusReason:
    case Qt::MenuBarFocusReason: return;  // a menu of this window has it for a moment
    case Qt::ActiveWindowFocusReason:
        // Another application took it: the grid is still its window's focus and gets it back unannounced.
        // Another window of the program (a dialog) took it: its return is a focus change.
        if (!QApplication::activeWindow()) return;
        break;
    default: break;
    }
    focusReported_ = false;
}

void QtGrid::keyPressEvent(QKeyEvent* event) {
    const int code = ToKeyCode(event->key());
    if (code && Events.KeyDown) Events.KeyDown(code, ToShiftState(event->modifiers()));
    switch (event->key()) {
    case Qt::Key_Up:
        if (row_ > fixedRows_) SetRow(row_ - 1);
        break;
    case Qt::Key_Down:
        if (row_ < rows_ - 1) SetRow(row_ + 1);
        break;
    case Qt::Key_Left:
        if (col_ > fixedCols_) SetCol(col_ - 1);
        break;
    case Qt::Key_Right:
        if (col_ < cols_ - 1) SetCol(col_ + 1);
        break;
    default: event->ignore(); return;
    }
    event->accept();
}

// The mouse handlers replace the table's own: a press moves the cursor in one step, a release raises
// Click, and nothing drags, selects or edits.
void QtGrid::mousePressEvent(QMouseEvent* event) {
    event->accept();
    if (event->button() != Qt::LeftButton) return;
    const QModelIndex index = indexAt(event->position().toPoint());
    if (!index.isValid()) return;
    const int row = index.row() + HeaderRows();
    const int col = index.column();
    if (!IsMovable(row, col)) return;
    clickPending_ = true;
    if (row != row_ || col != col_) MoveCursor(row, col);
}

void QtGrid::mouseReleaseEvent(QMouseEvent* event) {
    event->accept();
    if (event->button() != Qt::LeftButton || !clickPending_) return;
    clickPending_ = false;
    if (Events.Click) Events.Click();
}

void QtGrid::mouseMoveEvent(QMouseEvent* event) { event->accept(); }

void QtGrid::mouseDoubleClickEvent(QMouseEvent* event) { event->accept(); }

}  // namespace quorrel
