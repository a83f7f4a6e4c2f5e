// TMarkStringGridView: the on-screen table. Paints every cell through the grid's own
// cell painter, keeps heading rows and columns in place while the rest scrolls by whole
// cells, edits a cell in place, and hands keys and edits to the form.
#pragma once
#include "forms/MarkStringGrid.h"
#include <QAbstractScrollArea>
#include <functional>

class QLineEdit;

namespace halvern {

// Runs a user event through the form's dispatch point and refreshes the windows.
using TEventRunner = std::function<bool(const std::function<void()>&)>;

class TMarkStringGridView : public QAbstractScrollArea {
    Q_OBJECT
public:
    TMarkStringGridView(TMarkStringGrid& grid, TEventRunner run, QWidget* parent = nullptr);
    ~TMarkStringGridView() override;

    TMarkStringGrid& Grid() { return grid_; }
    // Follows the model after an event: sizes, scroll range, visibility, hint, repaint.
    void Refresh();
    // The in-place editor while a cell is being edited, else nullptr.
    QLineEdit* Editor() const;
    bool Editing() const { return editCol_ >= 0; }
    // Opens the editor on the current cell (as F2 or a double click does).
    void ShowEditor();
    // The first scrolled column and row shown after the fixed ones.
    int LeftCol() const { return leftCol_; }
    int TopRow() const { return topRow_; }
    // The cell's rectangle in viewport coordinates; empty when it is scrolled out of view.
    QRect CellRectOnScreen(int col, int row) const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool CanEdit() const;
    int FixedWidth() const;
    int FixedHeight() const;
    int ColumnX(int col) const;
    int RowY(int row) const;
    std::pair<int, int> CellAt(const QPoint& pos) const;
    QSize ViewportRoom() const;
    bool NeedsVerticalBar() const;
    void UpdateScrollBars();
    void EnsureVisible(int col, int row);
    void PaintRegion(class TQtCanvas& canvas, QPainter& painter, const QRect& clip, int firstCol, int lastCol,
                     int firstRow, int lastRow);
    // Handles a navigation or character key, from the grid or from its editor; true when used.
    bool HandleKey(QKeyEvent* event, bool fromEditor);
    // Sends a character to the form's key handler; false when the handler swallowed it.
    bool SendKeyPress(char& key);
    void MoveTo(int col, int row);
    void MoveByTab(bool backwards);
    void OpenEditor(const QString* firstCharacter);
    void EditorTextEdited(const QString& text);
    // Ends editing; the final text is handed to the grid when it differs from the cell.
    void CloseEditor(bool keepText);
    // True when an event other than the editor's own has changed the cell being edited.
    bool EditedCellRewritten() const;
    // After the form moved the current cell, the open editor follows it.
    void FollowCurrentCell(int oldCol, int oldRow, bool wasEditing);
    int ColumnBorderAt(const QPoint& pos) const;
    int RowBorderAt(const QPoint& pos) const;

    TMarkStringGrid& grid_;
    TEventRunner run_;
    int leftCol_ = 1;
    int topRow_ = 1;
    QLineEdit* editor_ = nullptr;
    int editCol_ = -1;
    int editRow_ = -1;
    // The cell's text as the editor last left it. Another event that rewrites the cell
    // (a new project, a project read) ends the edit, so its old text is not written back.
    std::string editedCellText_;
    bool editorEventRunning_ = false;
    bool forwardingKey_ = false;
    // The move under way stretches the selection (Shift, or a drag over the cells).
    bool extending_ = false;
    bool selecting_ = false;
    int resizeCol_ = -1;
    int resizeRow_ = -1;
    int resizeOrigin_ = 0;
    int resizeStartSize_ = 0;
    bool syncingScroll_ = false;
    QSize lastTotal_;
    mutable bool hintHasVerticalBar_ = false;
};

} // namespace halvern
