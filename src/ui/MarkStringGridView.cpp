#include "ui/MarkStringGridView.h"
#include "ui/QtCanvas.h"
#include "ui/RuleValidator.h"
#include <QApplication>
#include <QClipboard>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <algorithm>

namespace halvern {

namespace {

constexpr int kResizeSlack = 2; // pixels either side of a border that grab it
const QColor kFixedLineColour(0, 0, 0);
const QColor kLineColour(192, 192, 192);

} // namespace

TMarkStringGridView::TMarkStringGridView(TMarkStringGrid& grid, TEventRunner run, QWidget* parent)
    : QAbstractScrollArea(parent), grid_(grid), run_(std::move(run)) {
    setObjectName(QString::fromStdString(grid_.Name));
    setFocusPolicy(Qt::StrongFocus);
    // A table is never stretched beyond its cells; when room is short it scrolls.
    setSizePolicy(QSizePolicy::Maximum, QSizePolicy::Maximum);
    viewport()->setMouseTracking(true);
    setMouseTracking(true);
    editor_ = new QLineEdit(viewport());
    editor_->setObjectName("InplaceEditor");
    editor_->setFrame(false);
    editor_->hide();
    editor_->installEventFilter(this);
    // A paste into a number cell must leave a number there, as a typed key must.
    editor_->setValidator(new TRuleValidator(
        [this](const QString& after) {
            return !Editing() || grid_.AcceptsEditText(editCol_, editRow_, grid_.Cell(editCol_, editRow_),
                                                       after.toStdString());
        },
        editor_));
    connect(editor_, &QLineEdit::textEdited, this, [this](const QString& text) { EditorTextEdited(text); });
    grid_.OnRepaint = [this] { viewport()->update(); };
    leftCol_ = grid_.FixedCols;
    topRow_ = grid_.FixedRows;
    Refresh();
}

TMarkStringGridView::~TMarkStringGridView() {
    grid_.OnRepaint = nullptr;
}

QLineEdit* TMarkStringGridView::Editor() const {
    return Editing() ? editor_ : nullptr;
}

bool TMarkStringGridView::CanEdit() const {
    return (grid_.Options & goEditing) != 0;
}

int TMarkStringGridView::FixedWidth() const {
    int width = 0;
    for (int c = 0; c < std::min(grid_.FixedCols, grid_.ColCount()); ++c)
        width += grid_.ColWidth(c) + grid_.GridLineWidth;
    return width;
}

int TMarkStringGridView::FixedHeight() const {
    int height = 0;
    for (int r = 0; r < std::min(grid_.FixedRows, grid_.RowCount()); ++r)
        height += grid_.RowHeight(r) + grid_.GridLineWidth;
    return height;
}

int TMarkStringGridView::ColumnX(int col) const {
    if (col < grid_.FixedCols) {
        int x = 0;
        for (int c = 0; c < col; ++c)
            x += grid_.ColWidth(c) + grid_.GridLineWidth;
        return x;
    }
    if (col < leftCol_) return -1;
    int x = FixedWidth();
    for (int c = leftCol_; c < col; ++c)
        x += grid_.ColWidth(c) + grid_.GridLineWidth;
    return x;
}

int TMarkStringGridView::RowY(int row) const {
    if (row < grid_.FixedRows) {
        int y = 0;
        for (int r = 0; r < row; ++r)
            y += grid_.RowHeight(r) + grid_.GridLineWidth;
        return y;
    }
    if (row < topRow_) return -1;
    int y = FixedHeight();
    for (int r = topRow_; r < row; ++r)
        y += grid_.RowHeight(r) + grid_.GridLineWidth;
    return y;
}

QRect TMarkStringGridView::CellRectOnScreen(int col, int row) const {
    const int x = ColumnX(col);
    const int y = RowY(row);
    if (x < 0 || y < 0) return {};
    return QRect(x, y, grid_.ColWidth(col), grid_.RowHeight(row));
}

std::pair<int, int> TMarkStringGridView::CellAt(const QPoint& pos) const {
    int col = -1;
    for (int c = 0; c < grid_.ColCount(); ++c) {
        const int x = ColumnX(c);
        if (x < 0) continue;
        if (x > pos.x()) break;
        if (pos.x() < x + grid_.ColWidth(c) + grid_.GridLineWidth) {
            col = c;
            break;
        }
    }
    int row = -1;
    for (int r = 0; r < grid_.RowCount(); ++r) {
        const int y = RowY(r);
        if (y < 0) continue;
        if (y > pos.y()) break;
        if (pos.y() < y + grid_.RowHeight(r) + grid_.GridLineWidth) {
            row = r;
            break;
        }
    }
    return {col, row};
}

bool TMarkStringGridView::NeedsVerticalBar() const {
    // Before its first layout the widget's size says nothing about the room it will get.
    return testAttribute(Qt::WA_Resized) && contentsRect().height() < grid_.TotalHeight();
}

QSize TMarkStringGridView::sizeHint() const {
    const int frame = 2 * frameWidth();
    // A table taller than its room asks for the width of its scroll bar too, so that the
    // bar never hides its last column.
    hintHasVerticalBar_ = NeedsVerticalBar();
    const int bar = hintHasVerticalBar_ ? style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this) : 0;
    return QSize(grid_.TotalWidth() + frame + bar, grid_.TotalHeight() + frame);
}

QSize TMarkStringGridView::minimumSizeHint() const {
    const int frame = 2 * frameWidth();
    const int scroll = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    return QSize(std::min(grid_.TotalWidth(), FixedWidth() + 80) + frame + scroll,
                 std::min(grid_.TotalHeight(), FixedHeight() + 60) + frame + scroll);
}

QSize TMarkStringGridView::ViewportRoom() const {
    // Decided from the whole inside of the frame, so that a scroll bar shown while the
    // widget was small does not stay once everything fits.
    const QSize inside = contentsRect().size();
    const int bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
    const int totalWidth = grid_.TotalWidth();
    const int totalHeight = grid_.TotalHeight();
    bool needV = totalHeight > inside.height();
    const bool needH = totalWidth > inside.width() - (needV ? bar : 0);
    needV = totalHeight > inside.height() - (needH ? bar : 0);
    return QSize(inside.width() - (needV ? bar : 0), inside.height() - (needH ? bar : 0));
}

void TMarkStringGridView::UpdateScrollBars() {
    const QSize area = ViewportRoom();
    // The furthest first column (row) that still shows the last one whole.
    auto furthest = [](int count, int fixed, int room, const std::function<int(int)>& size) {
        int first = count;
        int used = 0;
        while (first > fixed && used + size(first - 1) <= room)
            used += size(--first);
        return std::max(fixed, std::min(first, count - 1));
    };
    const int lw = grid_.GridLineWidth;
    const int maxLeft = furthest(grid_.ColCount(), grid_.FixedCols, area.width() - FixedWidth(),
                                 [&](int c) { return grid_.ColWidth(c) + lw; });
    const int maxTop = furthest(grid_.RowCount(), grid_.FixedRows, area.height() - FixedHeight(),
                                [&](int r) { return grid_.RowHeight(r) + lw; });
    syncingScroll_ = true;
    leftCol_ = std::clamp(leftCol_, grid_.FixedCols, std::max(grid_.FixedCols, maxLeft));
    topRow_ = std::clamp(topRow_, grid_.FixedRows, std::max(grid_.FixedRows, maxTop));
    const int scrollCols = grid_.ColCount() - grid_.FixedCols;
    const int scrollRows = grid_.RowCount() - grid_.FixedRows;
    horizontalScrollBar()->setRange(0, std::max(0, maxLeft - grid_.FixedCols));
    horizontalScrollBar()->setPageStep(std::max(1, scrollCols - (maxLeft - grid_.FixedCols)));
    horizontalScrollBar()->setValue(leftCol_ - grid_.FixedCols);
    verticalScrollBar()->setRange(0, std::max(0, maxTop - grid_.FixedRows));
    verticalScrollBar()->setPageStep(std::max(1, scrollRows - (maxTop - grid_.FixedRows)));
    verticalScrollBar()->setValue(topRow_ - grid_.FixedRows);
    syncingScroll_ = false;
}

void TMarkStringGridView::scrollContentsBy(int, int) {
    if (syncingScroll_) return;
    leftCol_ = grid_.FixedCols + horizontalScrollBar()->value();
    topRow_ = grid_.FixedRows + verticalScrollBar()->value();
    if (Editing()) {
        const QRect r = CellRectOnScreen(editCol_, editRow_);
        if (r.isEmpty())
            CloseEditor(true);
        else
            editor_->setGeometry(r);
    }
    viewport()->update();
}

void TMarkStringGridView::EnsureVisible(int col, int row) {
    const QSize area = ViewportRoom();
    const int lw = grid_.GridLineWidth;
    if (col >= grid_.FixedCols) {
        if (col < leftCol_) leftCol_ = col;
        while (leftCol_ < col && ColumnX(col) + grid_.ColWidth(col) + lw > area.width())
            ++leftCol_;
    }
    if (row >= grid_.FixedRows) {
        if (row < topRow_) topRow_ = row;
        while (topRow_ < row && RowY(row) + grid_.RowHeight(row) + lw > area.height())
            ++topRow_;
    }
    UpdateScrollBars();
    viewport()->update();
}

void TMarkStringGridView::Refresh() {
    if (isHidden() == grid_.Visible) setHidden(!grid_.Visible);
    setToolTip(QString::fromStdString(grid_.Hint));
    setProperty("helpContext", grid_.HelpContext);
    const QSize total(grid_.TotalWidth(), grid_.TotalHeight());
    if (total != lastTotal_) {
        lastTotal_ = total;
        updateGeometry();
    }
    if (Editing() && (!CanEdit() || EditedCellRewritten())) CloseEditor(false);
    UpdateScrollBars();
    if (Editing()) editor_->setGeometry(CellRectOnScreen(editCol_, editRow_));
    viewport()->update();
}

void TMarkStringGridView::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    UpdateScrollBars();
    // The width asked for depends on whether the rows fit the height just given.
    if (NeedsVerticalBar() != hintHasVerticalBar_) updateGeometry();
}

// ---- painting -----------------------------------------------------------------------------

void TMarkStringGridView::PaintRegion(TQtCanvas& canvas, QPainter& painter, const QRect& clip, int firstCol,
                                      int lastCol, int firstRow, int lastRow) {
    if (clip.isEmpty() || firstCol > lastCol || firstRow > lastRow) return;
    painter.setClipRect(clip);
    const int lw = grid_.GridLineWidth;
    // Grid lines first: each cell then fills its own rectangle, and a merged heading
    // paints over the lines inside it.
    if (lw > 0) {
        for (int r = firstRow; r <= lastRow; ++r)
            for (int c = firstCol; c <= lastCol; ++c) {
                const QRect cell = CellRectOnScreen(c, r);
                const bool fixed = c < grid_.FixedCols || r < grid_.FixedRows;
                painter.fillRect(cell.adjusted(0, 0, lw, lw), fixed ? kFixedLineColour : kLineColour);
            }
    }
    for (int r = firstRow; r <= lastRow; ++r)
        for (int c = firstCol; c <= lastCol; ++c) {
            const QRect cell = CellRectOnScreen(c, r);
            const TRect rect{cell.left(), cell.top(), cell.left() + cell.width(), cell.top() + cell.height()};
            grid_.DrawCell(canvas, c, r, rect, grid_.DrawStateOf(c, r));
        }
}

void TMarkStringGridView::paintEvent(QPaintEvent*) {
    QPainter painter(viewport());
    painter.setFont(font());
    const QRect area = viewport()->rect();
    painter.fillRect(area, ToQColor(grid_.Color, palette()));
    TQtCanvas canvas(painter, palette());

    int lastCol = leftCol_ - 1;
    for (int c = leftCol_; c < grid_.ColCount() && ColumnX(c) < area.width(); ++c)
        lastCol = c;
    int lastRow = topRow_ - 1;
    for (int r = topRow_; r < grid_.RowCount() && RowY(r) < area.height(); ++r)
        lastRow = r;
    const int fixedCols = std::min(grid_.FixedCols, grid_.ColCount());
    const int fixedRows = std::min(grid_.FixedRows, grid_.RowCount());
    const int fw = FixedWidth();
    const int fh = FixedHeight();

    PaintRegion(canvas, painter, QRect(0, 0, fw, fh), 0, fixedCols - 1, 0, fixedRows - 1);
    PaintRegion(canvas, painter, QRect(fw, 0, area.width() - fw, fh), leftCol_, lastCol, 0, fixedRows - 1);
    PaintRegion(canvas, painter, QRect(0, fh, fw, area.height() - fh), 0, fixedCols - 1, topRow_, lastRow);
    PaintRegion(canvas, painter, QRect(fw, fh, area.width() - fw, area.height() - fh), leftCol_, lastCol,
                topRow_, lastRow);
}

// ---- keys --------------------------------------------------------------------------------------

bool TMarkStringGridView::event(QEvent* event) {
    // With Tab moving from cell to cell the grid keeps Tab for itself.
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if ((key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) && (grid_.Options & goTabs)) {
            keyPressEvent(key);
            return true;
        }
    }
    return QAbstractScrollArea::event(event);
}

bool TMarkStringGridView::SendKeyPress(char& key) {
    bool swallowed = false;
    run_([&] {
        grid_.KeyPress(key);
        swallowed = key == 0;
    });
    return !swallowed;
}

void TMarkStringGridView::keyPressEvent(QKeyEvent* event) {
    // While a cell is being edited its keys belong to the editor, which takes the focus
    // back (a click on a heading or a border left it with the table). A key the editor
    // has no use for comes back here on its way to the window: it goes on from here.
    if (Editing()) {
        if (forwardingKey_) {
            event->ignore();
            return;
        }
        forwardingKey_ = true;
        editor_->setFocus(Qt::OtherFocusReason);
        QCoreApplication::sendEvent(editor_, event);
        forwardingKey_ = false;
        event->accept();
        return;
    }
    if (!HandleKey(event, false)) QAbstractScrollArea::keyPressEvent(event);
}

bool TMarkStringGridView::HandleKey(QKeyEvent* event, bool fromEditor) {
    const int col = grid_.Col;
    const int row = grid_.Row;
    const int firstCol = grid_.FixedCols;
    const int firstRow = grid_.FixedRows;
    const int pageRows = std::max(1, viewport()->height() / std::max(1, grid_.DefaultRowHeight) - firstRow);
    if (!fromEditor) {
        // The table's own clipboard: the selected cells go out as a spreadsheet takes them.
        if (event->matches(QKeySequence::Copy)) {
            QGuiApplication::clipboard()->setText(QString::fromStdString(grid_.SelectionText()));
            return true;
        }
        // A block from a spreadsheet pastes at the current cell; Ctrl+Z takes it back.
        if (event->matches(QKeySequence::Paste) && grid_.OnPaste) {
            const std::string text = QGuiApplication::clipboard()->text().toStdString();
            run_([this, &text] { grid_.OnPaste(text); });
            viewport()->update();
            return true;
        }
        if (event->matches(QKeySequence::Undo) && grid_.OnUndo) {
            run_([this] { grid_.OnUndo(); });
            viewport()->update();
            return true;
        }
        if (event->matches(QKeySequence::SelectAll)) {
            grid_.SelectAll();
            viewport()->update();
            return true;
        }
    }
    // Shift with a moving key stretches the selection from where it started.
    extending_ = !fromEditor && (event->modifiers() & Qt::ShiftModifier) && event->key() != Qt::Key_Tab &&
                 event->key() != Qt::Key_Backtab;
    struct ExtendOff {
        bool& flag;
        ~ExtendOff() { flag = false; }
    } extendOff{extending_};
    switch (event->key()) {
    case Qt::Key_Up:
        MoveTo(col, row - 1);
        return true;
    case Qt::Key_Down:
        MoveTo(col, row + 1);
        return true;
    case Qt::Key_PageUp:
        MoveTo(col, row - pageRows);
        return true;
    case Qt::Key_PageDown:
        MoveTo(col, row + pageRows);
        return true;
    case Qt::Key_Left:
        if (fromEditor) return false;
        MoveTo(col - 1, row);
        return true;
    case Qt::Key_Right:
        if (fromEditor) return false;
        MoveTo(col + 1, row);
        return true;
    case Qt::Key_Home:
        if (fromEditor) return false;
        MoveTo(firstCol, (event->modifiers() & Qt::ControlModifier) ? firstRow : row);
        return true;
    case Qt::Key_End:
        if (fromEditor) return false;
        MoveTo(grid_.ColCount() - 1, (event->modifiers() & Qt::ControlModifier) ? grid_.RowCount() - 1 : row);
        return true;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        if (!(grid_.Options & goTabs)) return false;
        MoveByTab(event->key() == Qt::Key_Backtab || (event->modifiers() & Qt::ShiftModifier));
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter: {
        const bool wasEditing = Editing();
        char key = '\r';
        SendKeyPress(key);
        if (grid_.Col != col || grid_.Row != row) FollowCurrentCell(col, row, wasEditing);
        // A table without a move of its own: Enter ends editing, or starts it.
        else if (wasEditing)
            CloseEditor(true);
        else if (CanEdit())
            OpenEditor(nullptr);
        return true;
    }
    case Qt::Key_Escape:
        if (!fromEditor) return false;
        CloseEditor(false);
        return true;
    case Qt::Key_F2:
        if (fromEditor || !CanEdit()) return false;
        OpenEditor(nullptr);
        return true;
    case Qt::Key_Backspace:
        if (fromEditor) {
            char key = '\b';
            return !SendKeyPress(key);
        }
        return false;
    default:
        break;
    }
    const QString text = event->text();
    if (text.isEmpty() || !text.at(0).isPrint() ||
        (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier)))
        return false;
    const std::string bytes = text.toStdString();
    char key = bytes.front();
    if (!SendKeyPress(key)) return true;
    if (fromEditor) return false; // the editor takes the character
    if (CanEdit()) OpenEditor(&text);
    return true;
}

void TMarkStringGridView::MoveTo(int col, int row) {
    col = std::clamp(col, grid_.FixedCols, std::max(grid_.FixedCols, grid_.ColCount() - 1));
    row = std::clamp(row, grid_.FixedRows, std::max(grid_.FixedRows, grid_.RowCount() - 1));
    const bool wasEditing = Editing();
    if (extending_) {
        if (grid_.AnchorCol < 0) {
            grid_.AnchorCol = grid_.Col;
            grid_.AnchorRow = grid_.Row;
        }
    } else if (grid_.AnchorCol >= 0) {
        grid_.AnchorCol = grid_.AnchorRow = -1;
        viewport()->update();
    }
    if (col == grid_.Col && row == grid_.Row) return;
    if (wasEditing) CloseEditor(true);
    grid_.Col = col;
    grid_.Row = row;
    EnsureVisible(col, row);
    if (wasEditing) OpenEditor(nullptr);
}

void TMarkStringGridView::MoveByTab(bool backwards) {
    int col = grid_.Col + (backwards ? -1 : 1);
    int row = grid_.Row;
    if (col >= grid_.ColCount()) {
        col = grid_.FixedCols;
        ++row;
    } else if (col < grid_.FixedCols) {
        col = grid_.ColCount() - 1;
        --row;
    }
    if (row >= grid_.RowCount() || row < grid_.FixedRows) {
        // Past the last cell the keyboard moves on to the next control.
        CloseEditor(true);
        focusNextPrevChild(!backwards);
        return;
    }
    MoveTo(col, row);
}

void TMarkStringGridView::FollowCurrentCell(int oldCol, int oldRow, bool wasEditing) {
    if (grid_.Col == oldCol && grid_.Row == oldRow) return;
    const int col = grid_.Col;
    const int row = grid_.Row;
    // The edit ends on the cell that was being edited, then opens on the new one.
    if (wasEditing) CloseEditor(true);
    EnsureVisible(col, row);
    if (wasEditing) OpenEditor(nullptr);
}

// ---- the in-place editor -----------------------------------------------------------------------

void TMarkStringGridView::ShowEditor() {
    OpenEditor(nullptr);
}

void TMarkStringGridView::OpenEditor(const QString* firstCharacter) {
    if (!CanEdit() || grid_.Col < grid_.FixedCols || grid_.Row < grid_.FixedRows) return;
    EnsureVisible(grid_.Col, grid_.Row);
    editCol_ = grid_.Col;
    editRow_ = grid_.Row;
    grid_.EditorMode = true;
    editor_->setFont(font());
    editor_->setGeometry(CellRectOnScreen(editCol_, editRow_));
    editedCellText_ = grid_.Cell(editCol_, editRow_);
    editor_->setText(firstCharacter ? *firstCharacter : QString::fromStdString(editedCellText_));
    if (firstCharacter)
        editor_->end(false);
    else
        editor_->selectAll();
    editor_->show();
    editor_->setFocus(Qt::OtherFocusReason);
    // A typed first character replaces the cell's text, as any change of the editor does.
    if (firstCharacter) EditorTextEdited(*firstCharacter);
}

void TMarkStringGridView::EditorTextEdited(const QString& text) {
    if (!Editing()) return;
    const int col = editCol_;
    const int row = editRow_;
    // What the cell's own edit event leaves there (a total put back at once) is no
    // reason to stop editing.
    editorEventRunning_ = true;
    run_([&] { grid_.SetEditText(col, row, text.toStdString()); });
    editorEventRunning_ = false;
    if (editCol_ == col && editRow_ == row) editedCellText_ = grid_.Cell(col, row);
}

bool TMarkStringGridView::EditedCellRewritten() const {
    if (!Editing() || editorEventRunning_) return false;
    if (editCol_ >= grid_.ColCount() || editRow_ >= grid_.RowCount()) return true;
    return grid_.Cell(editCol_, editRow_) != editedCellText_;
}

void TMarkStringGridView::CloseEditor(bool keepText) {
    if (!Editing()) return;
    const int col = editCol_;
    const int row = editRow_;
    const std::string text = editor_->text().toStdString();
    const bool hadFocus = editor_->hasFocus();
    if (EditedCellRewritten()) keepText = false;
    editCol_ = editRow_ = -1;
    grid_.EditorMode = false;
    editor_->hide();
    if (hadFocus) setFocus(Qt::OtherFocusReason);
    // A locked cell refuses the final text too; it shows its stored text again.
    if (keepText && text != grid_.Cell(col, row)) run_([&] { grid_.SetEditText(col, row, text); });
    viewport()->update();
}

bool TMarkStringGridView::eventFilter(QObject* watched, QEvent* event) {
    if (watched == editor_) {
        if (event->type() == QEvent::KeyPress) {
            if (HandleKey(static_cast<QKeyEvent*>(event), true)) return true;
        } else if (event->type() == QEvent::FocusOut) {
            const auto reason = static_cast<QFocusEvent*>(event)->reason();
            // A message box or a menu takes the focus for a moment; editing goes on after.
            if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason &&
                QApplication::focusWidget() != this)
                CloseEditor(true);
        }
    }
    return QAbstractScrollArea::eventFilter(watched, event);
}

void TMarkStringGridView::focusOutEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusOutEvent(event);
    viewport()->update();
}

// ---- the mouse ------------------------------------------------------------------------------

namespace {

// The border nearest to pos among those within reach; of two as near, the later one, so
// that a column or row narrowed to nothing can still be widened again.
int NearestBorder(int pos, int count, const std::function<int(int)>& start,
                  const std::function<int(int)>& size) {
    int found = -1;
    int distance = kResizeSlack + 1;
    for (int i = 0; i < count; ++i) {
        const int from = start(i);
        if (from < 0) continue;
        const int d = std::abs(pos - (from + size(i)));
        if (d <= distance && d <= kResizeSlack) {
            found = i;
            distance = d;
        }
    }
    return found;
}

} // namespace

int TMarkStringGridView::ColumnBorderAt(const QPoint& pos) const {
    if (!(grid_.Options & goColSizing) || pos.y() >= FixedHeight()) return -1;
    return NearestBorder(
        pos.x(), grid_.ColCount(), [this](int c) { return ColumnX(c); },
        [this](int c) { return grid_.ColWidth(c); });
}

int TMarkStringGridView::RowBorderAt(const QPoint& pos) const {
    if (!(grid_.Options & goRowSizing) || pos.x() >= FixedWidth()) return -1;
    return NearestBorder(
        pos.y(), grid_.RowCount(), [this](int r) { return RowY(r); },
        [this](int r) { return grid_.RowHeight(r); });
}

void TMarkStringGridView::mousePressEvent(QMouseEvent* event) {
    setFocus(Qt::MouseFocusReason);
    if (event->button() != Qt::LeftButton) return;
    const QPoint pos = event->position().toPoint();
    if (const int c = ColumnBorderAt(pos); c >= 0) {
        resizeCol_ = c;
        resizeOrigin_ = pos.x();
        resizeStartSize_ = grid_.ColWidth(c);
        return;
    }
    if (const int r = RowBorderAt(pos); r >= 0) {
        resizeRow_ = r;
        resizeOrigin_ = pos.y();
        resizeStartSize_ = grid_.RowHeight(r);
        return;
    }
    const auto [col, row] = CellAt(pos);
    if (col < grid_.FixedCols || row < grid_.FixedRows) return;
    selecting_ = true;
    if (event->modifiers() & Qt::ShiftModifier) {
        CloseEditor(true);
        extending_ = true;
        MoveTo(col, row);
        extending_ = false;
        return;
    }
    if (col == grid_.Col && row == grid_.Row && grid_.AnchorCol < 0) {
        if (!Editing()) OpenEditor(nullptr);
        return;
    }
    CloseEditor(true);
    MoveTo(col, row);
}

void TMarkStringGridView::mouseMoveEvent(QMouseEvent* event) {
    const QPoint pos = event->position().toPoint();
    if (resizeCol_ >= 0) {
        grid_.SetColWidth(resizeCol_, std::max(1, resizeStartSize_ + pos.x() - resizeOrigin_));
        Refresh();
        return;
    }
    if (resizeRow_ >= 0) {
        grid_.SetRowHeight(resizeRow_, std::max(1, resizeStartSize_ + pos.y() - resizeOrigin_));
        Refresh();
        return;
    }
    if (selecting_ && (event->buttons() & Qt::LeftButton)) {
        // Dragging over the cells selects them, for a copy.
        const auto [col, row] = CellAt(pos);
        if (col >= grid_.FixedCols && row >= grid_.FixedRows && (col != grid_.Col || row != grid_.Row)) {
            CloseEditor(true);
            extending_ = true;
            MoveTo(col, row);
            extending_ = false;
        }
        return;
    }
    if (ColumnBorderAt(pos) >= 0)
        viewport()->setCursor(Qt::SplitHCursor);
    else if (RowBorderAt(pos) >= 0)
        viewport()->setCursor(Qt::SplitVCursor);
    else
        viewport()->unsetCursor();
}

void TMarkStringGridView::mouseReleaseEvent(QMouseEvent*) {
    resizeCol_ = resizeRow_ = -1;
    selecting_ = false;
}

void TMarkStringGridView::mouseDoubleClickEvent(QMouseEvent* event) {
    const auto [col, row] = CellAt(event->position().toPoint());
    if (col == grid_.Col && row == grid_.Row && !Editing()) OpenEditor(nullptr);
}

} // namespace halvern
