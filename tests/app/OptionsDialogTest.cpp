#include "app/CPageOptionColor.h"
#include "app/CPageOptionData.h"
#include "app/CPageOptionGeneral.h"
#include "app/CPageOptionSymbol.h"
#include "app/OptionsDialog.h"
#include "platform/AppSettings.h"
#include "platform/SettingsNotifier.h"
#include "widgets/CColorButton.h"
#include "widgets/CFontControl.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QTabWidget>
#include <QValidator>
#include <gtest/gtest.h>

namespace {

// Restores the process-wide settings after a test changes them.
struct SettingsGuard
{
    AppSettings saved = AppSettings::instance();
    ~SettingsGuard() { AppSettings::instance() = saved; }
};

} // namespace

TEST(OptionsDialog, five_pages_in_order)
{
    OptionsDialog dialog;
    QStringList titles;
    for (int i = 0; i < dialog.tabs()->count(); ++i)
        titles << dialog.tabs()->tabText(i);
    EXPECT_EQ(titles, (QStringList{"全般", "クエリエディタ", "データ部", "カラー設定", "SQLシンボル"}));
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("オプション"));
}

TEST(OptionsDialog, ok_stores_every_page_and_notifies_once)
{
    SettingsGuard guard;
    AppSettings::instance().cursorLocation = 3;
    AppSettings::instance().copyHeadDelimiter = 7;
    QSignalSpy applied(&SettingsNotifier::instance(), &SettingsNotifier::settingsApplied);
    OptionsDialog dialog;
    auto *general = dialog.page<CPageOptionGeneral>();
    EXPECT_EQ(general->cursorLocation->currentText(), QStringLiteral("サーバ"));
    EXPECT_EQ(dialog.page<CPageOptionData>()->copyHeadDelimiter->currentText(),
              QStringLiteral("タブ符号"));
    general->commandTimeout->setText("42");
    dialog.page<CPageOptionData>()->nullData->setText("");
    dialog.accept();

    const AppSettings &s = AppSettings::instance();
    EXPECT_EQ(s.cursorLocation, 1) << "a stored 3 shows as the server and is stored as 1";
    EXPECT_EQ(s.copyHeadDelimiter, 0);
    EXPECT_EQ(s.commandTimeout, 42);
    EXPECT_EQ(s.nullData, "");
    EXPECT_EQ(applied.count(), 1);
}

TEST(OptionsDialog, cancel_discards_every_page)
{
    SettingsGuard guard;
    const AppSettings before = AppSettings::instance();
    OptionsDialog dialog;
    dialog.page<CPageOptionGeneral>()->commandTimeout->setText("1");
    dialog.page<CPageOptionSymbol>()->keywords->setPlainText("X");
    dialog.reject();
    EXPECT_EQ(AppSettings::instance().commandTimeout, before.commandTimeout);
    EXPECT_EQ(AppSettings::instance().keywords, before.keywords);
}

TEST(OptionsDialog, colour_defaults_and_bold_boxes)
{
    SettingsGuard guard;
    OptionsDialog dialog;
    auto *colours = dialog.page<CPageOptionColor>();
    const auto *excludedText = colours->row(QStringLiteral("除外項目文字色："));
    ASSERT_NE(excludedText, nullptr);
    EXPECT_EQ(excludedText->button->color(), QColor(128, 0, 0)) << "first-run value";
    EXPECT_EQ(colours->row(QStringLiteral("除外セル："))->bold, nullptr);

    colours->row(QStringLiteral("キーワード："))->bold->setChecked(true);
    colours->resetToDefaults();
    EXPECT_EQ(excludedText->button->color(), QColor(255, 0, 0)) << "reset value";
    EXPECT_FALSE(colours->row(QStringLiteral("キーワード："))->bold->isChecked());

    colours->row(QStringLiteral("文字列："))->bold->setChecked(true);
    colours->row(QStringLiteral("除外セル："))->button->setColor(QColor(1, 2, 3));
    dialog.accept();
    EXPECT_EQ(AppSettings::instance().rsAutoColor.value, 0x0000FFu);
    EXPECT_EQ(AppSettings::instance().stringColor.value, 0x100000FFu);
    EXPECT_EQ(AppSettings::instance().rsAutoBgColor.value, 0x030201u);
}

TEST(OptionsDialog, symbol_lists_end_in_exactly_one_blank)
{
    const struct
    {
        const char *typed;
        const char *stored;
    } cases[] = {
        {"SELECT FROM   ", "SELECT FROM "},
        {"SELECT FROM", "SELECT FROM "},
        {"A\nB\n\n", "A\nB "},
        {"", " "},
    };
    for (const auto &c : cases)
        EXPECT_EQ(CPageOptionSymbol::normalizeList(QString::fromUtf8(c.typed)),
                  QString::fromUtf8(c.stored))
            << c.typed;

    SettingsGuard guard;
    OptionsDialog dialog;
    auto *symbols = dialog.page<CPageOptionSymbol>();
    symbols->resetToDefaults();
    EXPECT_EQ(symbols->keywords->toPlainText(), AppSettings::builtInKeywords());
    dialog.accept();
    EXPECT_EQ(AppSettings::instance().constants, QStringLiteral(" NULL ASC DESC "));
}

TEST(OptionsDialog, page_reset_touches_only_that_page)
{
    SettingsGuard guard;
    OptionsDialog dialog;
    auto *general = dialog.page<CPageOptionGeneral>();
    auto *data = dialog.page<CPageOptionData>();
    general->connectTimeout->setText("99");
    data->nullData->setText("(null)");
    general->resetToDefaults();
    EXPECT_EQ(general->connectTimeout->text(), QStringLiteral("15"));
    EXPECT_EQ(general->commandTimeout->text(), QStringLiteral("300"));
    EXPECT_EQ(data->nullData->text(), QStringLiteral("(null)"));
    // Time-outs accept digits only.
    int pos = 0;
    QString typed = QStringLiteral("12a");
    EXPECT_EQ(general->connectTimeout->validator()->validate(typed, pos), QValidator::Invalid);
    typed = QStringLiteral("-1");
    EXPECT_EQ(general->commandTimeout->validator()->validate(typed, pos), QValidator::Invalid);
}

TEST(FontControl, shows_points_and_face)
{
    LogFont f;
    f.height = -13;
    f.faceName = QStringLiteral("ＭＳ ゴシック");
    EXPECT_EQ(CFontControl::describe(f, 96), QStringLiteral("10.0 pt. ＭＳ ゴシック"));
    f.height = -16;
    EXPECT_EQ(CFontControl::describe(f, 96), QStringLiteral("12.0 pt. ＭＳ ゴシック"));
}

TEST(OptionsDialog, screenshots_when_asked)
{
    const QString dir = qEnvironmentVariable("QORVANE_SCREENSHOT_DIR");
    if (dir.isEmpty())
        GTEST_SKIP() << "QORVANE_SCREENSHOT_DIR is not set";
    OptionsDialog dialog;
    dialog.show();
    for (int i = 0; i < dialog.tabs()->count(); ++i) {
        dialog.tabs()->setCurrentIndex(i);
        QApplication::processEvents();
        EXPECT_TRUE(dialog.grab().save(dir + QStringLiteral("/options-%1.png").arg(i)));
    }
}
