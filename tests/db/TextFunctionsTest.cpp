#include "db/SharedText.h"
#include "db/TypeNames.h"

#include <gtest/gtest.h>

TEST(TypeNames, generic_names_by_data_type)
{
    const std::pair<int, const char *> cases[] = {
        {0, ""},
        {1, ""},
        {2, "smallint"},
        {18, "smallint"},
        {3, "int"},
        {16, "int"},
        {17, "int"},
        {19, "int"},
        {4, "float"},
        {5, "float"},
        {6, "currency"},
        {7, "datetime"},
        {64, "datetime"},
        {135, "datetime"},
        {8, "text"},
        {9, "dispatch"},
        {10, "error(32bit)"},
        {11, "boolean"},
        {12, "variant"},
        {138, "variant"},
        {13, "unknown"},
        {14, "decimal"},
        {20, "bigint"},
        {21, "bigint"},
        {72, "guid"},
        {128, "binary"},
        {204, "binary"},
        {205, "binary"},
        {129, "char"},
        {130, "char"},
        {131, "numeric"},
        {139, "numeric"},
        {132, "user defined"},
        {133, "date"},
        {134, "time"},
        {200, "varchar"},
        {201, "varchar"},
        {202, "varchar"},
        {203, "varchar"},
        {15, ""},
        {999, ""},
    };
    for (const auto &[type, name] : cases)
        EXPECT_EQ(GenericTypeName(type), QString::fromLatin1(name)) << type;
}

TEST(TypeNames, choose_type_name_by_fixed_flag_then_size)
{
    auto type = [](const char *name, int dataType, qint64 size, bool createParams, bool fixed) {
        ProviderTypeInfo t;
        t.typeName = name;
        t.dataType = dataType;
        t.columnSize = size;
        t.hasCreateParams = createParams;
        t.isFixedLength = fixed;
        return t;
    };
    const QList<ProviderTypeInfo> ab
        = {type("A", 129, 8000, true, true), type("B", 129, 4000, true, true)};
    EXPECT_EQ(ChooseTypeName(ab, 129, 0x10, 10, -1, -1), "(A | B)");
    EXPECT_EQ(ChooseTypeName(ab, 129, 0x10, 5000, -1, -1), "A");
    EXPECT_EQ(ChooseTypeName(ab, 129, 0x10, 9000, -1, -1), "(A | B)");
    // Not fixed-length while every candidate is: judged on size among all of them.
    EXPECT_EQ(ChooseTypeName(ab, 129, 0, 5000, -1, -1), "A");
    // Precision stands in for an unknown length; scale plays no part.
    EXPECT_EQ(ChooseTypeName(ab, 129, 0x10, -1, 6000, 3), "A");

    const QList<ProviderTypeInfo> mixed
        = {type("char", 129, 8000, true, true), type("varchar", 129, 8000, true, false),
           type("text", 201, 2147483647, false, false), type("int", 3, 10, false, true)};
    EXPECT_EQ(ChooseTypeName(mixed, 129, 0, 10, -1, -1), "varchar");
    EXPECT_EQ(ChooseTypeName(mixed, 129, 0x10, 10, -1, -1), "char");
    EXPECT_EQ(ChooseTypeName(mixed, 3, 0, -1, 10, 0), "int");
    EXPECT_EQ(ChooseTypeName(mixed, 200, 0, 10, -1, -1), "varchar"); // generic
    EXPECT_EQ(ChooseTypeName({}, 0, 0, -1, -1, -1), "");

    // Without create parameters a candidate fits only its exact size.
    const QList<ProviderTypeInfo> exact
        = {type("X", 5, 8, false, true), type("Y", 5, 15, false, true)};
    EXPECT_EQ(ChooseTypeName(exact, 5, 0x10, -1, 15, -1), "Y");
}

TEST(SharedText, split_qualified_names)
{
    const std::tuple<QString, QString, QString> cases[] = {
        {"a.b.c", "a", "b.c"}, {".t", "", "t"}, {"t", "", "t"},
        {"dbo.T", "dbo", "T"}, {"", "", ""},    {"s.", "s", ""},
    };
    for (const auto &[name, owner, object] : cases) {
        const QualifiedName split = SplitQualifiedName(name);
        EXPECT_EQ(split.owner, owner) << name.toStdString();
        EXPECT_EQ(split.object, object) << name.toStdString();
    }
}

TEST(SharedText, connection_labels)
{
    ConnectionFields f;
    f.dataSource = "C:\\data\\sales.mdb";
    f.userId = "admin";
    EXPECT_EQ(ConnectionLabel(f, 2, {}), "sales.mdb.admin[2]");
    EXPECT_EQ(ConnectionLabel(f, 1, "ｸｴﾘ 1"), "sales.mdb.admin - ｸｴﾘ 1");
    f = {};
    f.dataSource = "srv#1;x";
    EXPECT_EQ(ConnectionLabel(f, 0, {}), "x");
    f.dataSource = "server\\instance";
    f.initialCatalog = "cat";
    EXPECT_EQ(ConnectionLabel(f, 3, "s"), "instance.cat[3] - s");
    f.dataSource = "/tmp/a b/c.db";
    f.initialCatalog.clear();
    EXPECT_EQ(ConnectionLabel(f, 0, {}), "c.db");
    f.connName = "my profile%2";
    EXPECT_EQ(ConnectionShortLabel(f, 2, "q"), "2[2] - q");
    f.connName = "local";
    EXPECT_EQ(ConnectionShortLabel(f, 1, {}), "local");
}

TEST(SharedText, html_escape)
{
    EXPECT_EQ(HtmlEscape("a&b<c>\"d\""), "a&amp;b&lt;c&gt;&quot;d&quot;");
    EXPECT_EQ(HtmlEscape("&amp;"), "&amp;amp;");
    EXPECT_EQ(HtmlEscape("it's"), "it's");
    EXPECT_EQ(HtmlEscape(""), "");
}
