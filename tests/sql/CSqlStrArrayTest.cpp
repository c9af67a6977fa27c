#include "sql/CSqlStrArray.h"

#include <gtest/gtest.h>

TEST(CSqlStrArray, split_trims_and_drops_empty_pieces)
{
    struct Case
    {
        QString list;
        bool trim;
        QStringList expected;
    };
    const Case cases[] = {
        {QStringLiteral("( , {"), true, {QStringLiteral("("), QStringLiteral("{")}},
        {QStringLiteral("a,,b, ,c"), true,
         {QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")}},
        {QStringLiteral("GROUP BY "), true, {QStringLiteral("GROUP BY")}},
        {QString(), true, {}},
        {QStringLiteral(" , "), true, {}},
        // Delimiters keep their white space.
        {QStringLiteral("\t, ,\r\n"), false,
         {QStringLiteral("\t"), QStringLiteral(" "), QStringLiteral("\r\n")}},
        {QStringLiteral(",,"), false, {}},
    };
    for (const Case &c : cases)
        EXPECT_EQ(QStringList(CSqlStrArray::Split(c.list, c.trim)), c.expected)
            << c.list.toStdString();
}

TEST(CSqlStrArray, whole_keeps_the_symbol_unsplit)
{
    EXPECT_EQ(QStringList(CSqlStrArray::Whole(QStringLiteral(" , "))),
              QStringList{QStringLiteral(" , ")});
    EXPECT_TRUE(CSqlStrArray::Whole(QString()).isEmpty());
}
