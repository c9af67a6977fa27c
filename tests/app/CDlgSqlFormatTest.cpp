#include "app/CDlgSqlFormat.h"
#include "platform/SettingsStore.h"
#include "sql/CSqlParser.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFocusEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTextEdit>
#include <QTimer>
#include <QValidator>
#include <gtest/gtest.h>

namespace {

template<typename T>
T *child(const CDlgSqlFormat &dialog, const char *name)
{
    T *widget = dialog.findChild<T *>(QString::fromLatin1(name));
    EXPECT_NE(widget, nullptr) << name;
    return widget;
}

QString sampleText(const CDlgSqlFormat &dialog)
{
    return child<QTextEdit>(dialog, "Sample")->toPlainText();
}

// What the formatter makes of the dialog's sample statement, as the box shows it.
QString laidOutSample(CSqlParser &parser)
{
    QString text = CDlgSqlFormat::sampleStatement();
    EXPECT_TRUE(parser.layOut(text));
    return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

// Options and lists of two formatters are the same.
void expectSameSettings(const CSqlParser &a, const CSqlParser &b)
{
    QTemporaryDir dir;
    SettingsStore first(dir.filePath(QStringLiteral("a.conf")));
    SettingsStore second(dir.filePath(QStringLiteral("b.conf")));
    a.SaveSettings(first);
    b.SaveSettings(second);
    for (const QString &name : first.valueNames(QStringLiteral("SqlParser")))
        EXPECT_EQ(first.readText(QStringLiteral("SqlParser"), name, QString()),
                  second.readText(QStringLiteral("SqlParser"), name, QString()))
            << name.toStdString();
}

// Leaving a text box after changing it, as a focus change would.
void leave(QWidget *box)
{
    QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(box, &out);
}

} // namespace

TEST(CDlgSqlFormat, fresh_settings_show_the_defaults_and_the_laid_out_sample)
{
    CSqlParser parser;
    CDlgSqlFormat dialog(nullptr, &parser);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("整形設定"));
    EXPECT_TRUE(child<QRadioButton>(dialog, "Tab4")->isChecked());
    EXPECT_TRUE(child<QRadioButton>(dialog, "CommaLeft")->isChecked());
    EXPECT_TRUE(child<QRadioButton>(dialog, "MarginByCount")->isChecked());
    EXPECT_TRUE(child<QLineEdit>(dialog, "Margin")->isEnabled());
    EXPECT_EQ(child<QLineEdit>(dialog, "Margin")->text(), QStringLiteral("80"));
    EXPECT_EQ(child<QLineEdit>(dialog, "Parhs1")->text(), QStringLiteral("( , {"));
    EXPECT_EQ(child<QPlainTextEdit>(dialog, "LogicOps")->toPlainText(),
              QStringLiteral("AND, OR, ON, SET, WHEN, THEN, ELSE"));
    EXPECT_TRUE(child<QCheckBox>(dialog, "BlockMargin")->isChecked());
    EXPECT_FALSE(child<QCheckBox>(dialog, "KeywordRR")->isChecked());
    EXPECT_TRUE(child<QCheckBox>(dialog, "TabSpaces")->isChecked());
    EXPECT_FALSE(child<QCheckBox>(dialog, "TabSpaces")->isEnabled());
    CSqlParser defaults;
    EXPECT_EQ(sampleText(dialog), laidOutSample(defaults));
    EXPECT_TRUE(sampleText(dialog).contains(QStringLiteral("  AND TB2.FIELD3 IN( '1'\n")));
}

TEST(CDlgSqlFormat, odd_space_count_shows_four_and_ok_stores_four)
{
    CSqlParser parser;
    parser.SetIndent(1, 3);
    CDlgSqlFormat dialog(nullptr, &parser);
    EXPECT_TRUE(child<QRadioButton>(dialog, "Tab4")->isChecked());
    child<QPushButton>(dialog, "OkButton")->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(parser.GetSpaceCount(), 4);
}

TEST(CDlgSqlFormat, edits_refresh_the_sample_and_cancel_applies_nothing)
{
    CSqlParser parser;
    CDlgSqlFormat dialog(nullptr, &parser);
    const QString before = sampleText(dialog);

    // A changed keyword list takes effect when the box is left.
    auto *syntaxes = child<QPlainTextEdit>(dialog, "Syntaxes");
    syntaxes->setPlainText(QStringLiteral("SELECT, FROM"));
    leave(syntaxes);
    EXPECT_NE(sampleText(dialog), before);
    EXPECT_TRUE(sampleText(dialog).contains(QStringLiteral("TB2.FIELD3 ASC")));
    EXPECT_FALSE(sampleText(dialog).contains(QStringLiteral("\nORDER BY")));

    // A check box click refreshes at once.
    child<QCheckBox>(dialog, "KeywordRR")->click();
    EXPECT_TRUE(sampleText(dialog).startsWith(QStringLiteral("SELECT\n    TB1.FIELD1")));

    child<QPushButton>(dialog, "CancelButton")->click();
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    expectSameSettings(parser, CSqlParser());
}

TEST(CDlgSqlFormat, defaults_then_cancel_change_nothing_and_ok_applies_every_control)
{
    CSqlParser parser;
    parser.SetSyntaxes(QStringLiteral("SELECT"));
    parser.SetMargin(40, 0);
    parser.SetCommaReturn(2);
    parser.SetBlockReturn(1, 1);
    {
        CDlgSqlFormat dialog(nullptr, &parser);
        EXPECT_TRUE(child<QRadioButton>(dialog, "CommaOneLine")->isChecked());
        child<QPushButton>(dialog, "DefaultsButton")->click();
        EXPECT_EQ(child<QLineEdit>(dialog, "Margin")->text(), QStringLiteral("80"));
        EXPECT_TRUE(child<QRadioButton>(dialog, "CommaLeft")->isChecked());
        dialog.reject();
    }
    EXPECT_EQ(parser.GetSyntaxes(), QStringLiteral("SELECT"));
    EXPECT_EQ(parser.GetMargin(), 40);
    EXPECT_EQ(parser.GetCommaReturn(), 2);

    CDlgSqlFormat dialog(nullptr, &parser);
    child<QPushButton>(dialog, "DefaultsButton")->click();
    child<QRadioButton>(dialog, "Tab8")->click();
    child<QRadioButton>(dialog, "CommaRight")->click();
    child<QCheckBox>(dialog, "BlockLR")->click();
    child<QLineEdit>(dialog, "Quote")->setText(QStringLiteral("', \""));
    child<QLineEdit>(dialog, "Margin")->setText(QStringLiteral("120"));
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(parser.GetSyntaxes(), CSqlParser().GetSyntaxes());
    EXPECT_EQ(parser.GetSpaceCount(), 8);
    EXPECT_EQ(parser.GetCommaReturn(), 1);
    EXPECT_EQ(parser.GetBlockLR(), 1);
    EXPECT_EQ(parser.GetBlockRR(), 0);
    EXPECT_EQ(parser.GetQuote(), QStringLiteral("', \""));
    EXPECT_EQ(parser.GetMargin(), 120);
    EXPECT_EQ(parser.GetFitWindow(), 0);
}

TEST(CDlgSqlFormat, out_of_range_values_are_refused_and_nothing_is_applied)
{
    CSqlParser parser;
    CDlgSqlFormat dialog(nullptr, &parser);
    auto *margin = child<QLineEdit>(dialog, "Margin");
    auto *quote = child<QLineEdit>(dialog, "Quote");
    // Typing is limited to ten characters; text put in by the program is not cut.
    QString tooLong(11, QLatin1Char('x'));
    int cursor = 0;
    EXPECT_EQ(quote->validator()->validate(tooLong, cursor), QValidator::Invalid);

    struct Case
    {
        QString margin;
        QString quote;
        bool valid;
    };
    const Case cases[] = {
        {QStringLiteral("0"), QStringLiteral("'"), false},
        {QStringLiteral("1001"), QStringLiteral("'"), false},
        {QString(), QStringLiteral("'"), false},
        {QStringLiteral("80"), QString(11, QLatin1Char('\'')), false},
        {QStringLiteral("1"), QString(10, QLatin1Char('\'')), true},
        {QStringLiteral("1000"), QStringLiteral("'"), true},
    };
    for (const Case &c : cases) {
        margin->setText(c.margin);
        quote->setText(c.quote);
        EXPECT_EQ(dialog.validationError().isEmpty(), c.valid) << c.margin.toStdString();
    }

    // OK with a bad value shows the message, applies nothing and keeps the dialog open.
    margin->setText(QStringLiteral("0"));
    quote->setText(QStringLiteral("\""));
    QString shown;
    QTimer::singleShot(0, [&shown] {
        for (QWidget *w : QApplication::topLevelWidgets()) {
            if (auto *box = qobject_cast<QMessageBox *>(w); box && box->isVisible()) {
                shown = box->text();
                box->accept();
            }
        }
    });
    dialog.show();
    child<QPushButton>(dialog, "OkButton")->click();
    EXPECT_EQ(shown, QStringLiteral("1 から 1000 までの整数を入力してください。"));
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(parser.GetQuote(), QStringLiteral("'"));
    EXPECT_EQ(parser.GetMargin(), 80);
    dialog.reject();
}

TEST(CDlgSqlFormat, fit_window_disables_the_number_box_and_wraps_at_the_sample_width)
{
    CSqlParser parser;
    CDlgSqlFormat dialog(nullptr, &parser);
    dialog.show();
    auto *sample = child<QTextEdit>(dialog, "Sample");
    child<QRadioButton>(dialog, "CommaOneLine")->click();
    const QString byCount = sampleText(dialog);

    child<QRadioButton>(dialog, "FitWindow")->click();
    EXPECT_FALSE(child<QLineEdit>(dialog, "Margin")->isEnabled());
    const int width = sample->width()
                      / QFontMetrics(sample->font()).horizontalAdvance(QLatin1Char('A'));
    CSqlParser expected;
    expected.SetCommaReturn(2);
    expected.SetMargin(width, 1);
    // The box holds what was laid out before; laying that out again with the box's width
    // gives the same as laying out the statement afresh.
    EXPECT_EQ(sampleText(dialog), laidOutSample(expected));

    child<QRadioButton>(dialog, "MarginByCount")->click();
    EXPECT_TRUE(child<QLineEdit>(dialog, "Margin")->isEnabled());
    EXPECT_EQ(sampleText(dialog), byCount);
    dialog.accept();
    EXPECT_EQ(parser.GetFitWindow(), 0);
    EXPECT_EQ(parser.GetMargin(), 80);
}

TEST(CDlgSqlFormat, screenshot)
{
    CSqlParser parser;
    CDlgSqlFormat dialog(nullptr, &parser);
    dialog.show();
    QApplication::processEvents();
    const QString path = QDir::temp().filePath(QStringLiteral("qorvane-sql-format-dialog.png"));
    EXPECT_TRUE(dialog.grab().save(path));
}
