#pragma once

#include <QAbstractTableModel>
#include <QColor>
#include <memory>

class CResultData;

// The Qt item model over one result model: asks CResultData for every cell that a view paints
// (text, colours, weight, alignment, read-only state) and never copies the rows. The row
// count is taken only when the result is loaded (setLoaded) or changed (refresh), so the fetch
// worker can fill the result model while the grid exists. UI thread only.
class ResultTableModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    // The image number of a header (row, column or the top-left cell); -1 for none.
    static constexpr int ImageRole = Qt::UserRole + 1;

    explicit ResultTableModel(std::shared_ptr<CResultData> data, QObject *parent = nullptr);

    const std::shared_ptr<CResultData> &resultData() const { return m_data; }
    bool isLoaded() const { return m_loaded; }
    // The result model is complete: show its rows.
    void setLoaded();
    // Row count or cells changed by an edit command.
    void refresh();
    // Whether edits are allowed at all (the grid is marked editable).
    void setEditable(bool editable) { m_editable = editable; }
    bool isEditable() const { return m_editable; }
    // The sort shown in the column headers (set by the sort commands); -1 for none.
    void setSortIndicator(int column, bool ascending);

    // Image numbers of the headers.
    int rowImage(int row) const;
    int columnImage(int column) const;
    int cornerImage() const;

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;

    // Background, text colour and weight of a cell by its flags and text; invalid colours
    // leave the view's own.
    struct CellLook
    {
        QColor background;
        QColor foreground;
        bool bold = false;
    };
    static CellLook lookOf(int flags, const QString &text);

Q_SIGNALS:
    // Around an edit the grid makes itself (one undo step).
    void editGroupBegun();
    void editGroupEnded();

private:
    std::shared_ptr<CResultData> m_data;
    int m_rows = 0;
    int m_columns = 0;
    bool m_loaded = false;
    bool m_editable = false;
    int m_sortColumn = -1;
    bool m_sortAscending = true;
};
