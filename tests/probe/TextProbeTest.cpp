#include "ProbeProcess.h"

#include <gtest/gtest.h>

// params and target: the text functions of statement preparation, each printing its result
// line by line.

TEST(ParamsProbe, PrintsEachDetectedNameOnItsOwnLine)
{
    struct Case
    {
        QString input;
        QString expected;
    };
    const Case cases[] = {
        {"SELECT * FROM T WHERE a = :a AND b = @b", "a\nb\n"},
        // The second marker has the same name ignoring case.
        {"WHERE a = :a OR b = :A", "a\n"},
        // Inside apostrophes, a doubled prefix, and @@ are no parameters.
        {"SELECT 'x:y', x::int, @@ROWCOUNT FROM t", ""},
        {"WHERE id IN (:id)", "id\n"},
        {"SET n = :id+1", "id+1\n"},
        // Comments are removed before detection, up to the carriage return for a line comment.
        {"SELECT /* :hidden */ a FROM t WHERE b = :shown", "shown\n"},
        {"SELECT a -- :note\r\nFROM t WHERE b = @v", "v\n"},
        // Quotes are not considered by comment removal: the "--" in the literal starts a comment.
        {"WHERE x = '--' AND y = :y", ""},
        // The := of a parameter note gives no parameter.
        {"SELECT * FROM T WHERE id = :id パラメーター： ( id:=10)", "id\n"},
        {"WHERE a=:a,:b;:c)\t:d\r\n:e\n:f", "a\nb\nc\nd\ne\nf\n"},
        {"WHERE 氏名 = :名前 AND 額=@金額;", "名前\n金額\n"},
        // A quoted name may hold terminators; its quotes are removed.
        {"WHERE a = :\"two words\" AND b = 1", "two words\n"},
        {"", ""},
        {"SELECT 1", ""},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.input.toStdString());
        const ProbeOutput result = ProbeProcess::run({"params"}, c.input);
        ASSERT_TRUE(result.finished) << result.failure.toStdString();
        EXPECT_EQ(result.exitCode, 0) << result.errText().toStdString();
        EXPECT_EQ(result.outText(), c.expected);
        EXPECT_TRUE(result.err.isEmpty());
    }
}

TEST(ParamsProbe, StopsAtTheTwoHundredFiftyFifthName)
{
    QString input = QStringLiteral("SELECT");
    QString expected;
    for (int i = 1; i <= 300; ++i) {
        input += QStringLiteral(" :p%1,").arg(i);
        if (i <= 255)
            expected += QStringLiteral("p%1\n").arg(i);
    }
    const ProbeOutput result = ProbeProcess::run({"params"}, input);
    ASSERT_TRUE(result.finished) << result.failure.toStdString();
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.outText(), expected);
}

TEST(TargetProbe, PrintsTheTargetTableOrAnEmptyLine)
{
    struct Case
    {
        QString input;
        QString expected;
    };
    const Case cases[] = {
        {"SELECT * FROM [Orders] WHERE id = 1", "Orders\n"},
        {"select *\r\nfrom dbo.T order by 1", "dbo.T\n"},
        {"SELECT\ta\tFROM\tt\tGROUP BY a", "t\n"},
        {"select * from t where a = 1", "t\n"},
        {"SELECT * FROM t ORDER BY a, b", "t\n"},
        {"DELETE FROM t WHERE x = 1", "t\n"},
        {"SELECT a, b FROM 社員 WHERE 部署 = 1", "社員\n"},
        {"  SELECT * FROM 売上  \r\n", "売上\n"},
        // No single target: a list, a join, a subquery, a union.
        {"SELECT * FROM a, b", "\n"},
        {"SELECT * FROM a JOIN b ON a.x = b.x", "\n"},
        {"SELECT * FROM (SELECT * FROM t) x", "\n"},
        {"SELECT a FROM t UNION SELECT a FROM u", "\n"},
        // No " FROM " with something after it.
        {"FROM t", "\n"},
        {"SELECT * FROM", "\n"},
        {"SELECT * FROM   ", "\n"},
        {"UPDATE t SET a = 1", "\n"},
        {"", "\n"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.input.toStdString());
        const ProbeOutput result = ProbeProcess::run({"target"}, c.input);
        ASSERT_TRUE(result.finished) << result.failure.toStdString();
        EXPECT_EQ(result.exitCode, 0) << result.errText().toStdString();
        EXPECT_EQ(result.outText(), c.expected);
        EXPECT_TRUE(result.err.isEmpty());
    }
}

TEST(TextProbes, ExtraArgumentsAreBadUsage)
{
    for (const QStringList &args : {QStringList{"params", "x"}, QStringList{"target", "x"}}) {
        SCOPED_TRACE(args.join(' ').toStdString());
        const ProbeOutput result = ProbeProcess::run(args, QByteArray("SELECT :a FROM t"));
        ASSERT_TRUE(result.finished) << result.failure.toStdString();
        EXPECT_EQ(result.exitCode, 2);
        EXPECT_TRUE(result.out.isEmpty());
        EXPECT_EQ(result.err.count('\n'), 1) << visible(result.err).toStdString();
    }
}
