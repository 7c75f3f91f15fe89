// A string grid whose cells are HTML text ("<BR>" breaks a line): one title row and optionally one
// fixed first column that stay in view, word wrap, rows sized to their content, and an owned object
// per row (the record the row shows). Rows and columns are numbered as in the rest of the program:
// row 0 is the title row, data rows start at 1.
#pragma once

#include <QTableView>
#include <memory>
#include <vector>

class QStandardItemModel;

namespace dudodu {

// Base of what a grid row can own.
class TGridObject {
  public:
    virtual ~TGridObject() = default;
};

class THtmlGrid : public QTableView {
    Q_OBJECT
  public:
    explicit THtmlGrid(QWidget* parent = nullptr);
    ~THtmlGrid() override;

    int ColCount() const;
    void setColCount(int count);
    // Rows including the title row. There is always at least one data row; the objects of rows
    // dropped by a smaller count are freed.
    int RowCount() const;
    void setRowCount(int count);
    // Whether column 0 stays in view while scrolling sideways.
    void setFixedFirstColumn(bool fixed);

    QString Cells(int col, int row) const;
    void setCells(int col, int row, const QString& html);
    // Empties the cells of a data row and frees its object.
    void clearRow(int row);
    // Removes a data row with its object; the last data row is cleared instead.
    void removeRow(int row);

    TGridObject* Objects(int row) const;
    // Gives a data row an object, freeing the one it had.
    void setObject(int row, std::unique_ptr<TGridObject> object);
    std::unique_ptr<TGridObject> takeObject(int row);

    int ColWidths(int col) const;
    void setColWidths(int col, int width);
    int RowHeights(int row) const; // row 0: the title row
    void setDefaultRowHeight(int height);
    // Sizes a row (0: the title row) to its content.
    void autoSizeRow(int row);

    // The current data row (1 when there is no current cell).
    int Row() const;
    void setRow(int row);

  signals:
    // An object of a row is about to be freed.
    void objectFreeing(dudodu::TGridObject* object);
    void cellDoubleClicked(int col, int row);

  protected:
    void resizeEvent(QResizeEvent* event) override;
    QModelIndex moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers) override;
    void scrollTo(const QModelIndex& index, ScrollHint hint = EnsureVisible) override;
    void updateGeometries() override;

  private:
    bool isDataRow(int row) const { return row >= 1 && row < RowCount(); }
    void freeObject(std::unique_ptr<TGridObject>& object);
    void updateFrozenColumn();
    void hideFrozenColumns();

    QStandardItemModel* m_model;
    class TFrozenColumnView* m_frozen;
    std::vector<std::unique_ptr<TGridObject>> m_objects; // index = data row - 1
};

} // namespace dudodu
