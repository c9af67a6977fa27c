#include "db/FieldText.h"
#include "platform/AppSettings.h"
#include "resultview/CResultGrid.h"
#include "resultview/ResultTableModel.h"
#include "results/CResultData.h"

#include <QHeaderView>
#include <QSignalSpy>
#include <gtest/gtest.h>

namespace {

std::shared_ptr<CResultData> makeModel(const QStringList &keys = {"id"})
{
    auto model = std::make_shared<CResultData>();
    model->BeginColumns(3);
    model->SetTableName("T");
    model->SetObjectType("TABLE");
    model->SetKeyColumns(keys);
    ResultColumn id;
    id.valueClass = ResultColumn::Numeric;
    ResultColumn name;
    name.valueClass = ResultColumn::Other;
    name.nullable = 1;
    ResultColumn blob;
    blob.valueClass = ResultColumn::Other;
    blob.writable = 0;
    model->AddColumnName("id");
    model->SetColumnInfo(0, id);
    model->AddColumnName("name");
    model->SetColumnInfo(1, name);
    model->AddColumnName("data");
    model->SetColumnInfo(2, blob);
    model->AddRow({"1", "a", BinaryMarker});
    model->AddRow({"2", NullMarker, BinaryMarker});
    model->AddRow({"3", "c", BinaryMarker});
    model->SetColumnWidths({2, 6, 8});
    return model;
}

} // namespace

TEST(ResultTableModel, colours_follow_flags_later_rules_winning)
{
    const AppSettings &s = AppSettings::instance();
    struct Case
    {
        int flags;
        QString text;
        QColor background;
        QColor foreground;
    };
    const QList<Case> cases = {
        {1, "x", s.rsCellColor.color(), {}},
        {0, "x", s.rsCellColor.color(), {}},
        {2, "x", s.rsModifiedColor.color(), {}},
        {3, "x", s.rsCellColor.color(), {}}, // unchanged cell of a modified row
        {4, "x", s.rsDeletedColor.color(), {}},
        {6, "x", s.rsDeletedColor.color(), {}},
        {8, "x", s.rsInsertedColor.color(), {}},
        {2 | 0x20, "x", s.rsAutoBgColor.color(), s.rsAutoColor.color()},
        {2 | 0x40, "f()", s.rsModifiedColor.color(), s.rsCellFuncColor.color()},
        {1, NullMarker, s.rsCellColor.color(), s.rsNullColor.color()},
        {2 | 0x20, VariantMarker, s.rsAutoBgColor.color(), s.rsNullColor.color()},
    };
    for (const Case &c : cases) {
        const ResultTableModel::CellLook look = ResultTableModel::lookOf(c.flags, c.text);
        EXPECT_EQ(look.background, c.background) << c.flags;
        EXPECT_EQ(look.foreground, c.foreground) << c.flags;
    }
}

TEST(CResultGrid, shows_the_model_with_headers_images_and_read_only_rules)
{
    auto data = makeModel();
    CResultGrid grid(data);
    QAbstractItemModel *model = grid.model();
    EXPECT_EQ(model->rowCount(), 0); // nothing shown while loading
    grid.setLoaded();
    ASSERT_EQ(grid.dataRowCount(), 3);
    EXPECT_TRUE(grid.isEditable());
    EXPECT_EQ(grid.verticalHeader()->sectionResizeMode(0), QHeaderView::Fixed);
    EXPECT_EQ(model->headerData(1, Qt::Horizontal).toString(), "name");
    EXPECT_EQ(model->headerData(0, Qt::Vertical).toString(), "1");
    EXPECT_EQ(model->index(1, 1).data().toString(), AppSettings::instance().nullData);
    EXPECT_EQ(model->index(0, 2).data().toString(), "<Binary>");
    EXPECT_TRUE(model->index(0, 0).data(Qt::TextAlignmentRole).toInt() & Qt::AlignRight);
    EXPECT_TRUE(model->index(0, 1).data(Qt::TextAlignmentRole).toInt() & Qt::AlignLeft);
    // The key column and the corner images; the unwritable column is read-only.
    EXPECT_EQ(model->headerData(0, Qt::Horizontal, ResultTableModel::ImageRole).toInt(), 0);
    EXPECT_EQ(model->headerData(1, Qt::Horizontal, ResultTableModel::ImageRole).toInt(), -1);
    grid.tableModel()->setSortIndicator(0, false);
    EXPECT_EQ(model->headerData(0, Qt::Horizontal, ResultTableModel::ImageRole).toInt(), 8);
    EXPECT_EQ(grid.tableModel()->cornerImage(), 0);
    EXPECT_TRUE(model->flags(model->index(0, 1)) & Qt::ItemIsEditable);
    EXPECT_FALSE(model->flags(model->index(0, 2)) & Qt::ItemIsEditable);

    // An in-place edit is one group around SetCell.
    QSignalSpy begun(&grid, &CResultGrid::editGroupBegun);
    QSignalSpy ended(&grid, &CResultGrid::editGroupEnded);
    EXPECT_TRUE(model->setData(model->index(2, 1), "changed"));
    EXPECT_EQ(begun.count(), 1);
    EXPECT_EQ(ended.count(), 1);
    EXPECT_EQ(data->GetCellText(2, 1), "changed");
    EXPECT_EQ(data->UndoStack().size(), 1);
    EXPECT_EQ(model->headerData(2, Qt::Vertical, ResultTableModel::ImageRole).toInt(), 2);
    EXPECT_EQ(model->index(2, 1).data(Qt::BackgroundRole).value<QColor>(),
              AppSettings::instance().rsModifiedColor.color());
    // Committing the same text again is no edit.
    EXPECT_FALSE(model->setData(model->index(2, 1), "changed"));
    EXPECT_EQ(begun.count(), 1);

    data->DeleteRow(0, true);
    data->AddRows(1);
    grid.refreshRows();
    EXPECT_EQ(grid.dataRowCount(), 4);
    EXPECT_EQ(model->headerData(0, Qt::Vertical, ResultTableModel::ImageRole).toInt(), 4);
    EXPECT_EQ(model->headerData(3, Qt::Vertical, ResultTableModel::ImageRole).toInt(), 3);
    EXPECT_EQ(model->headerData(1, Qt::Vertical, ResultTableModel::ImageRole).toInt(), 1);
    EXPECT_FALSE(model->flags(model->index(0, 1)) & Qt::ItemIsEditable);
}

TEST(CResultGrid, a_result_without_all_keys_is_not_edited_in_place)
{
    CResultGrid grid(makeModel({"id", "other"}));
    grid.setLoaded();
    EXPECT_FALSE(grid.isEditable());
    EXPECT_EQ(grid.tableModel()->cornerImage(), 1);
    EXPECT_FALSE(grid.model()->flags(grid.model()->index(0, 1)) & Qt::ItemIsEditable);
    EXPECT_FALSE(grid.model()->setData(grid.model()->index(0, 1), "x"));
}

TEST(CResultGrid, sizes_of_zero_hide_and_selections_read_back)
{
    CResultGrid grid(makeModel());
    grid.setLoaded();
    grid.setColumnSize(1, 0);
    EXPECT_TRUE(grid.isColumnHidden(1));
    EXPECT_EQ(grid.columnSize(1), 0);
    grid.setColumnSize(1, 55);
    EXPECT_FALSE(grid.isColumnHidden(1));
    EXPECT_EQ(grid.columnSize(1), 55);
    grid.setRowSize(2, 0);
    EXPECT_EQ(grid.rowSize(2), 0);
    grid.setRowSize(2, 30);
    EXPECT_EQ(grid.rowSize(2), 30);

    grid.selectCells(0, 1, 1, 2);
    int top, left, bottom, right;
    ASSERT_TRUE(grid.selectionRange(&top, &left, &bottom, &right));
    EXPECT_EQ(QList<int>({top, left, bottom, right}), QList<int>({0, 1, 1, 2}));
    EXPECT_EQ(grid.selectedRowList(), QList<int>({0, 1}));
    EXPECT_EQ(grid.focusCell(), grid.model()->index(0, 1));
    grid.selectWholeColumn(0);
    EXPECT_EQ(grid.selectedRowList(), QList<int>({0, 1, 2}));
    EXPECT_EQ(grid.selectedColumnList(), QList<int>({0}));
    grid.selectWholeRow(2);
    EXPECT_EQ(grid.selectedColumnList(), QList<int>({0, 1, 2}));
}

TEST(CResultGrid, new_rows_of_an_insert_only_result_take_values)
{
    CResultGrid grid(makeModel({}));
    grid.setLoaded();
    EXPECT_EQ(grid.resultData()->GetEditMode(), CResultData::EditInsert);
    EXPECT_FALSE(grid.isEditable());
    grid.resultData()->AddRows(1);
    grid.refreshRows();
    QAbstractItemModel *model = grid.model();
    EXPECT_FALSE(model->flags(model->index(0, 1)) & Qt::ItemIsEditable);
    EXPECT_TRUE(model->flags(model->index(3, 1)) & Qt::ItemIsEditable);
    EXPECT_FALSE(model->flags(model->index(3, 2)) & Qt::ItemIsEditable); // not writable
    EXPECT_TRUE(model->setData(model->index(3, 1), "typed"));
    EXPECT_EQ(grid.resultData()->GetCellText(3, 1), "typed");
}
