#include "db/FieldText.h"
#include "platform/AppSettings.h"
#include "results/CResultData.h"

#include <gtest/gtest.h>

namespace {

// A loaded model: columns (name, descriptor) and rows of texts.
struct Column
{
    QString name;
    ResultColumn info;
};

std::unique_ptr<CResultData> makeModel(const QList<Column> &columns,
                                       const QList<QStringList> &rows,
                                       const QString &table = QStringLiteral("T"),
                                       const QString &type = QStringLiteral("TABLE"),
                                       const QStringList &keys = {QStringLiteral("id")})
{
    auto model = std::make_unique<CResultData>();
    model->SetSession(nullptr);
    model->BeginColumns(int(columns.size()));
    model->SetTableName(table);
    model->SetObjectType(type);
    model->SetKeyColumns(keys);
    for (int i = 0; i < columns.size(); ++i) {
        model->AddColumnName(columns[i].name);
        model->SetColumnInfo(i, columns[i].info);
    }
    for (const QStringList &row : rows)
        model->AddRow(row);
    return model;
}

ResultColumn numeric(bool nullable = false)
{
    ResultColumn c;
    c.valueClass = ResultColumn::Numeric;
    c.nullable = nullable;
    return c;
}

ResultColumn text(bool nullable = false, bool writable = true)
{
    ResultColumn c;
    c.valueClass = ResultColumn::Other;
    c.nullable = nullable;
    c.writable = writable;
    return c;
}

std::unique_ptr<CResultData> threeRows()
{
    return makeModel({{"id", numeric()}, {"name", text(true)}},
                     {{"1", "a"}, {"2", NullMarker}, {"3", ""}});
}

} // namespace

TEST(CResultData, rows_round_trip_through_the_compact_store)
{
    const QString wide = QStringLiteral("日本語テキスト😀");
    auto model = makeModel({{"a", text()}, {"b", text()}, {"c", text()}},
                           {{"", "x", ""}, {wide, NullMarker, BinaryMarker}, {"p", "", "q"}});
    ASSERT_EQ(model->GetFetchedRowCount(), 3);
    const QList<QStringList> expected = {{"", "x", ""}, {wide, NullMarker, BinaryMarker},
                                         {"p", "", "q"}};
    for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < 3; ++c) {
            QString cell;
            EXPECT_EQ(model->GetCell(r, c, &cell), CResultData::RowUnchanged);
            EXPECT_EQ(cell, expected[r][c]) << r << "," << c;
        }
    }
    EXPECT_EQ(CResultData::DisplayText(NullMarker), AppSettings::instance().nullData);
    EXPECT_EQ(CResultData::DisplayText(BinaryMarker), QStringLiteral("<Binary>"));
    EXPECT_EQ(model->GetRowNumberText(1), QStringLiteral("2"));
}

TEST(CResultData, many_rows_cost_well_under_thirty_bytes_per_cell)
{
    const int columns = 10;
    QList<Column> cols;
    for (int c = 0; c < columns; ++c)
        cols.append({QStringLiteral("c%1").arg(c), text()});
    auto model = makeModel(cols, {});
    CResultData::RowBuffer buffer;
    const int rows = 200000;
    for (int r = 0; r < rows; ++r) {
        buffer.clear();
        for (int c = 0; c < columns; ++c) {
            // Typical values: numbers, short names, dates.
            buffer.text += c % 3 == 0   ? QString::number(r * 7 + c)
                           : c % 3 == 1 ? QStringLiteral("name%1").arg(r % 1000)
                                        : QStringLiteral("2024/01/02");
            buffer.ends.push_back(qint32(buffer.text.size()));
        }
        model->AddRow(buffer);
    }
    ASSERT_EQ(model->GetFetchedRowCount(), rows);
    EXPECT_EQ(model->GetCellText(rows - 1, 0), QString::number((rows - 1) * 7));
    EXPECT_EQ(model->GetCellText(12345, 2), QStringLiteral("2024/01/02"));
    const double perCell = double(model->MemoryUsage()) / (double(rows) * columns);
    EXPECT_LT(perCell, 30.0);
}

TEST(CResultData, setting_a_cell_keeps_fetched_rows_and_flags_changes)
{
    auto model = threeRows();
    ASSERT_TRUE(model->SetCell(0, 1, "b", CResultData::MarkPlain, false));
    QString cell;
    EXPECT_EQ(model->GetCell(0, 1, &cell), CResultData::RowModified);
    EXPECT_EQ(cell, "b");
    EXPECT_EQ(model->FetchedText(0, 1), QStringLiteral("a"));
    // The untouched cell of a modified row reports "unchanged".
    EXPECT_EQ(model->GetCell(0, 0, nullptr), CResultData::RowModified | CResultData::RowUnchanged);

    // Setting the fetched text back keeps the record, but the cell is plain again.
    ASSERT_TRUE(model->SetCell(0, 1, "a", CResultData::MarkPlain, false));
    EXPECT_EQ(model->GetRowState(0), CResultData::RowModified);
    EXPECT_EQ(model->GetCell(0, 1, nullptr), CResultData::RowModified | CResultData::RowUnchanged);
    EXPECT_TRUE(model->HasChanges());
}

TEST(CResultData, typing_the_null_text_stores_null_only_in_the_same_letter_case)
{
    auto model = threeRows();
    const QString nullText = AppSettings::instance().nullData;
    ASSERT_TRUE(model->SetCell(0, 1, nullText, CResultData::MarkPlain, false));
    EXPECT_EQ(model->GetCellText(0, 1), NullMarker);
    ASSERT_TRUE(model->SetCell(2, 1, nullText.toLower(), CResultData::MarkPlain, false));
    EXPECT_EQ(model->GetCellText(2, 1), nullText.toLower());
}

TEST(CResultData, marks_and_their_restore_requests)
{
    auto model = threeRows();
    model->BeginUndoGroup();
    // Restoring what was never marked changes nothing.
    EXPECT_FALSE(model->SetCell(0, 1, "a", CResultData::MarkRestoreExcluded, false));
    ASSERT_TRUE(model->SetCell(0, 1, "a", CResultData::MarkExcluded, false));
    EXPECT_EQ(model->GetCell(0, 1, nullptr) & CResultData::CellExcludedFlag,
              CResultData::CellExcludedFlag);
    // Excluding again, or restoring a function mark, changes nothing and records nothing.
    EXPECT_FALSE(model->SetCell(0, 1, "a", CResultData::MarkExcluded, false));
    EXPECT_FALSE(model->SetCell(0, 1, "a", CResultData::MarkRestoreFunction, false));
    EXPECT_EQ(model->UndoGroup().entries.size(), 1);
    ASSERT_TRUE(model->SetCell(0, 1, "a", CResultData::MarkRestoreExcluded, false));
    EXPECT_EQ(model->GetCell(0, 1, nullptr) & CResultData::CellExcludedFlag, 0);
    ASSERT_TRUE(model->SetCell(1, 1, "now()", CResultData::MarkFunction, false));
    EXPECT_EQ(model->GetCell(1, 1, nullptr) & CResultData::CellFunctionFlag,
              CResultData::CellFunctionFlag);
    model->EndUndoGroup();
    ASSERT_EQ(model->UndoStack().size(), 1);
    const QList<UndoEntry> &entries = model->UndoStack().first().entries;
    ASSERT_EQ(entries.size(), 3);
    EXPECT_EQ(entries[0].kind, UndoEntry::CellExcluded);
    EXPECT_EQ(entries[1].kind, UndoEntry::ExclusionRemoved);
    EXPECT_EQ(entries[2].kind, UndoEntry::FunctionSet);
    EXPECT_EQ(entries[2].oldText, NullMarker);
}

TEST(CResultData, deleting_rows_by_their_state)
{
    auto model = threeRows();
    // A fetched row: state 4; deleting it again changes nothing and records nothing.
    model->BeginUndoGroup();
    ASSERT_TRUE(model->DeleteRow(2, false));
    EXPECT_EQ(model->GetRowState(2), CResultData::RowDeleted);
    ASSERT_TRUE(model->DeleteRow(2, false));
    EXPECT_EQ(model->UndoGroup().entries.size(), 1);
    EXPECT_FALSE(model->IsCellWritable(2, 1));
    // A modified row keeps its edits: state 6.
    model->SetCell(0, 1, "edited", CResultData::MarkPlain, false);
    ASSERT_TRUE(model->DeleteRow(0, false));
    EXPECT_EQ(model->GetRowState(0), CResultData::RowModified | CResultData::RowDeleted);
    EXPECT_EQ(model->GetCellText(0, 1), "edited");
    model->EndUndoGroup();
}

TEST(CResultData, deleting_an_inserted_row_renumbers_the_later_ones)
{
    auto model = threeRows();
    model->AddRows(3);
    ASSERT_EQ(model->GetDisplayRowCount(), 6);
    EXPECT_EQ(model->UndoStack().size(), 1);
    model->SetCell(5, 1, "last", CResultData::MarkPlain, false);
    EXPECT_EQ(model->GetRowState(5), CResultData::RowInserted | CResultData::RowModified);
    ASSERT_TRUE(model->DeleteRow(3, false));
    EXPECT_EQ(model->GetInsertedRowCount(), 2);
    EXPECT_EQ(model->GetDisplayRowCount(), 5);
    // The row that was key 5 is now key 4, row number 5.
    EXPECT_EQ(model->GetCellText(4, 1), "last");
    EXPECT_EQ(model->GetRowNumberText(4), "5");
    EXPECT_EQ(model->Changes().size(), 2);
}

TEST(CResultData, new_rows_take_their_defaults_from_the_columns)
{
    auto model = makeModel({{"n1", numeric(true)},
                            {"n2", numeric(false)},
                            {"t1", text(true)},
                            {"t2", text(true, false)}},
                           {{"1", "2", "x", "y"}});
    model->AddRows(1);
    const QStringList expected = {NullMarker, "0", "", NullMarker};
    for (int c = 0; c < 4; ++c)
        EXPECT_EQ(model->GetCellText(1, c), expected[c]) << c;
    EXPECT_EQ(model->GetCell(1, 0, nullptr), CResultData::RowInserted);
}

TEST(CResultData, edit_mode_follows_object_type_and_keys)
{
    struct Case
    {
        QString type;
        QStringList columns;
        QStringList keys;
        bool allKeys;
        int mode;
    };
    const QList<Case> cases = {
        {"TABLE", {"id", "name"}, {"id"}, true, 14},
        {"VIEW", {"id", "name"}, {"id"}, true, 1},
        {"TABLE", {"id", "name"}, {"id", "sub"}, false, 1},
        {"TABLE", {"id", "name"}, {}, false, 4},
        // Duplicate names (by case) count once: two of the two keys are there.
        {"TABLE", {"ID", "id", "sub"}, {"id", "sub"}, true, 14},
        {"TABLE", {"ID", "id"}, {"id", "sub"}, false, 1},
    };
    for (const Case &c : cases) {
        QList<Column> cols;
        for (const QString &name : c.columns)
            cols.append({name, text()});
        auto model = makeModel(cols, {}, "T", c.type, c.keys);
        EXPECT_EQ(model->HasAllKeys(), c.allKeys) << c.columns.join(',').toStdString();
        EXPECT_EQ(model->GetEditMode(), c.mode) << c.columns.join(',').toStdString();
    }
    auto noTable = makeModel({{"id", numeric()}}, {}, "", "TABLE");
    EXPECT_EQ(noTable->GetEditMode(), 1);
    EXPECT_EQ(noTable->GetEditModeText(), QStringLiteral("読取専用"));
}

TEST(CResultData, object_information_names_the_table_type_rows_and_mode)
{
    auto model = threeRows();
    EXPECT_EQ(model->GetObjectInfo(),
              QStringLiteral("ｵﾌﾞｼﾞｪｸﾄ：  T\r\n種　　類：  テーブル\r\nデータ数：  3\r\n"
                             "編集可能：  編集可\r\n"));
    auto unknown = makeModel({{"x", text()}}, {}, "", "不明", {});
    EXPECT_TRUE(unknown->GetObjectInfo().startsWith(QStringLiteral("ｵﾌﾞｼﾞｪｸﾄ：  不明\r\n種　　類：  不明\r\n")));
}

TEST(ResultColumn, descriptor_from_field_type_and_attributes)
{
    struct Case
    {
        int type;
        qint64 defined;
        int attributes;
        qint64 actual;
        ResultColumn expected;
    };
    const QList<Case> cases = {
        {3, 4, 0x20, 4, {1, 4, 4, 1, 1}},          // integer, nullable
        {202, 50, 0, 3, {2, 6, 100, 0, 1}},        // wide text: sizes doubled
        {135, 16, 0, 16, {2, 30, 16, 0, 1}},       // date/time: width 30
        {205, 100, 0x20, 8, {2, 8, 100, 1, 0}},    // long var-binary: not writable
        {129, 10, 0x100, 2, {2, 2, 10, 0, 0}},     // row id attribute: not writable
        {131, 19, 0, 0, {1, 0, 19, 0, 1}},         // numeric, empty result
    };
    for (const Case &c : cases) {
        const ResultColumn got = ResultColumn::fromField(c.type, c.defined, c.attributes, c.actual);
        EXPECT_EQ(got.valueClass, c.expected.valueClass) << c.type;
        EXPECT_EQ(got.width, c.expected.width) << c.type;
        EXPECT_EQ(got.size, c.expected.size) << c.type;
        EXPECT_EQ(got.nullable, c.expected.nullable) << c.type;
        EXPECT_EQ(got.writable, c.expected.writable) << c.type;
    }
}

TEST(CResultData, display_order_and_fetched_row_changes_keep_keys_consistent)
{
    auto model = threeRows();
    EXPECT_FALSE(model->SetDisplayOrder({0, 0, 1})); // not a permutation
    EXPECT_FALSE(model->SetDisplayOrder({0, 1}));
    ASSERT_TRUE(model->SetDisplayOrder({2, 0, 1}));
    EXPECT_EQ(model->GetCellText(0, 0), "3");
    EXPECT_EQ(model->GetRowNumberText(0), "3"); // fetched rows keep their numbers
    // Edits address display rows and land on the key.
    ASSERT_TRUE(model->SetCell(0, 1, "x", CResultData::MarkPlain, true));
    EXPECT_EQ(model->Changes().first().key, 2);

    model->ClearChanges();
    model->ReplaceFetchedRow(1, {"20", "b"});
    EXPECT_EQ(model->FetchedText(1, 0), QStringLiteral("20"));
    EXPECT_EQ(model->FetchedText(0, 1), QStringLiteral("a"));
    EXPECT_EQ(model->GetFetchedRowCount(), 3);

    model->RemoveFetchedRows({0});
    ASSERT_EQ(model->GetFetchedRowCount(), 2);
    EXPECT_EQ(model->GetDisplayOrder(), std::vector<int>({1, 0}));
    EXPECT_EQ(model->GetCellText(0, 0), "3");
    EXPECT_EQ(model->GetCellText(1, 0), "20");
}
