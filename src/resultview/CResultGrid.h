#pragma once

#include <QTableView>
#include <memory>

class CResultData;
class ResultTableModel;

// The grid of one result tab: a virtual table over a result model with one header row (the
// column names) and one row-number column. Cells are asked for when painted; a writable cell
// of an editable grid is edited in place and the edit ends in CResultData::SetCell. Rows and
// columns are hidden by giving them size 0. UI thread only.
class CResultGrid : public QTableView
{
    Q_OBJECT
public:
    explicit CResultGrid(std::shared_ptr<CResultData> data, QWidget *parent = nullptr);
    ~CResultGrid() override;

    const std::shared_ptr<CResultData> &resultData() const;
    ResultTableModel *tableModel() const { return m_model; }

    // The result model is loaded: size the columns, take the rows and decide whether the grid
    // is editable (all key columns present).
    void setLoaded();
    bool isLoaded() const;
    // Rows or cells changed by a command; the grid takes the model's display row count.
    void refreshRows();

    bool isEditable() const;
    // Kept disabled while loading; the result view enables it when its tab is shown.
    bool isMarkedDisabled() const { return m_markedDisabled; }
    void setMarkedDisabled(bool disabled) { m_markedDisabled = disabled; }
    void resetFocusCell();

    // Data rows (the header row and row-number column are not counted).
    int dataRowCount() const;

    // Sizes in pixels; 0 hides the row or column.
    void setColumnSize(int col, int size);
    void setRowSize(int row, int size);
    int columnSize(int col) const;
    int rowSize(int row) const;

    // The selection: the rows that have a selected cell (ascending), the bounding range, and
    // the focus cell (invalid when none).
    QList<int> selectedRowList() const;
    QList<int> selectedColumnList() const;
    bool selectionRange(int *top, int *left, int *bottom, int *right) const;
    QModelIndex focusCell() const { return currentIndex(); }
    bool hasSelectedCells() const;
    void selectCells(int top, int left, int bottom, int right);
    void selectWholeRow(int row);
    void selectWholeColumn(int col);

    // Takes the grid font and colours of the settings again.
    void applySettings();

    // Fits every visible column to its header and the model's display width.
    void fitColumns();
    // Widens visible columns to the display texts of rows first..last (new rows).
    void fitColumnsToRows(int first, int last);

Q_SIGNALS:
    // Around every edit the grid makes itself; the undo stack groups by them.
    void editGroupBegun();
    void editGroupEnded();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    ResultTableModel *m_model;
    bool m_markedDisabled = true;
};
