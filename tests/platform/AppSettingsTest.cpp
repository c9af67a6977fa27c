#include "platform/AppSettings.h"
#include "platform/SettingsStore.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

struct HookReset
{
    ~HookReset()
    {
        AppSettings::setProfileHooks({});
        AppSettings::setSectionHooks({});
    }
};

} // namespace

TEST(AppSettings, first_start_gives_every_default)
{
    QTemporaryDir dir;
    SettingsStore store(dir.filePath("Qorvane.conf"));
    ASSERT_TRUE(store.loadedCleanly());
    AppSettings s;
    s.autoCommit = 7;
    s.nullData = "x";
    s.load(store, 0x411);

    EXPECT_EQ(s.autoCommit, 0);
    EXPECT_EQ(s.autoExec, 1);
    EXPECT_EQ(s.commentOut, 1);
    EXPECT_EQ(s.changeCase, 1);
    EXPECT_EQ(s.connectTimeout, 15);
    EXPECT_EQ(s.commandTimeout, 300);
    EXPECT_EQ(s.cursorLocation, 1);
    EXPECT_EQ(s.rsvSqlInNew, 1);
    EXPECT_EQ(s.nullData, "<NULL>");
    EXPECT_EQ(s.delimiters.size(), 29);
    EXPECT_EQ(s.delimiters, QStringLiteral("~!@%^&*()-+=|\\/{}[]:;\"'<> ,.?"));
    EXPECT_TRUE(s.keywords.isEmpty());
    EXPECT_EQ(s.rsAutoColor.rgb(), 0x000080u); // RGB 128, 0, 0
    EXPECT_EQ(s.rsAutoColor.red(), 128);
    EXPECT_EQ(s.keywordColor.blue(), 255);
    EXPECT_TRUE(s.windowPos.isEmpty());

    EXPECT_EQ(s.qViewFont.faceName, QStringLiteral("ＭＳ ゴシック"));
    EXPECT_EQ(s.qGridFont.faceName, QStringLiteral("ＭＳ Ｐゴシック"));
    EXPECT_EQ(s.dbInfoFont.faceName, QStringLiteral("ＭＳ Ｐゴシック"));
    EXPECT_EQ(s.qViewFont.height, -13);
    EXPECT_EQ(s.qViewFont.weight, 400);
    EXPECT_EQ(s.qViewFont.charSet, 128);

    AppSettings chinese;
    chinese.load(store, 0x804);
    EXPECT_EQ(chinese.qGridFont.faceName, QStringLiteral("宋体"));
    EXPECT_EQ(chinese.qGridFont.charSet, 134);
    EXPECT_TRUE(AppSettings::readProfileValues(store).isEmpty());
}

TEST(AppSettings, every_value_survives_a_restart_with_its_type)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("Qorvane.conf");
    AppSettings s;
    {
        SettingsStore store(path);
        s.load(store, 0x411);
        s.autoCommit = 1;
        s.commandTimeout = 0;
        s.cursorLocation = 2;
        s.nullData = "";                 // a stored empty text stays empty
        s.delimiters = "~!@ ,;\"'\\";
        s.keywords = " SELECT FROM 表 ";
        s.lineComment = "#";
        s.rsCellFuncColor = ColorRef::fromRgb(1, 2, 3, true);
        s.keywordColor = ColorRef(0x10FF0000);
        s.qGridFont.faceName = "Noto Sans CJK JP";
        s.qGridFont.height = -16;
        s.qGridFont.italic = 1;
        s.windowPos = "0,1,-1,-1,-1,-1,10,20,810,620";
        s.save(store);
    }
    SettingsStore again(path);
    ASSERT_TRUE(again.loadedCleanly());
    AppSettings r;
    r.load(again, 0x411);
    EXPECT_EQ(r.autoCommit, 1);
    EXPECT_EQ(r.commandTimeout, 0);
    EXPECT_EQ(r.cursorLocation, 2);
    EXPECT_EQ(r.nullData, "");
    EXPECT_EQ(r.delimiters, s.delimiters);
    EXPECT_EQ(r.keywords, s.keywords);
    EXPECT_EQ(r.lineComment, "#");
    EXPECT_EQ(r.rsCellFuncColor, s.rsCellFuncColor);
    EXPECT_TRUE(r.rsCellFuncColor.bold());
    EXPECT_EQ(r.keywordColor.value, 0x10FF0000u);
    EXPECT_EQ(r.qGridFont, s.qGridFont);
    EXPECT_EQ(r.qViewFont, s.qViewFont);
    EXPECT_EQ(r.windowPos, s.windowPos);

    // Integers are stored as numbers, fonts as 92-byte binary records.
    EXPECT_EQ(again.readBinary("env", "QGrid_Font").size(), 92);
    EXPECT_EQ(again.readInt("Settings", "RSCellFuncColor", 0), qint32(0x10030201));
    EXPECT_EQ(AppSettings::settingNames().size(), 36);
}

TEST(AppSettings, profile_numbers_stop_at_the_first_gap_and_save_without_gaps)
{
    HookReset reset;
    QTemporaryDir dir;
    const QString path = dir.filePath("Qorvane.conf");
    {
        SettingsStore store(path);
        store.writeBinary("env", "Conn1", "one");
        store.writeBinary("env", "Conn2", "two");
        store.writeBinary("env", "Conn4", "four");
        store.sync();
    }
    QList<QByteArray> loaded;
    AppSettings::setProfileHooks({[&](const QList<QByteArray> &v) { loaded = v; },
                                  [&] { return QList<QByteArray>{"a", "", "b"}; }});
    SettingsStore store(path);
    AppSettings s;
    s.load(store, 0x409);
    EXPECT_EQ(loaded, (QList<QByteArray>{"one", "two"}));

    s.save(store);
    SettingsStore after(path);
    EXPECT_EQ(after.readBinary("env", "Conn1"), "a");
    EXPECT_EQ(after.readBinary("env", "Conn2"), "b");
    EXPECT_FALSE(after.contains("env", "Conn3"));
    EXPECT_FALSE(after.contains("env", "Conn4")); // "env" was emptied before writing
}

TEST(AppSettings, further_sections_load_after_settings_and_save_last)
{
    HookReset reset;
    QTemporaryDir dir;
    SettingsStore store(dir.filePath("Qorvane.conf"));
    QStringList order;
    AppSettings::setProfileHooks({[&](const QList<QByteArray> &) { order << "profiles"; },
                                  [&] {
                                      order << "profiles";
                                      return QList<QByteArray>{};
                                  }});
    AppSettings::setSectionHooks({[&](const SettingsStore &) { order << "formatter"; },
                                  [&](SettingsStore &st) {
                                      order << "formatter";
                                      st.writeInt("SqlParser", "SqlFixMargin", 99);
                                  }});
    AppSettings s;
    s.load(store, 0x409);
    s.save(store);
    EXPECT_EQ(order, (QStringList{"profiles", "formatter", "profiles", "formatter"}));
    EXPECT_EQ(store.readInt("SqlParser", "SqlFixMargin", 0), 99);
}

TEST(SettingsStore, corrupted_file_starts_empty_and_keeps_the_original_aside)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("Qorvane.conf");
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QByteArray("\x00\xff\xfe garbage \x01\x02[[[\n\x00\x00", 24));
    f.close();

    SettingsStore store(path);
    EXPECT_FALSE(store.loadedCleanly());
    EXPECT_FALSE(store.loadError().isEmpty());
    EXPECT_TRUE(QFile::exists(store.backupPath()));
    AppSettings s;
    s.load(store, 0x411);
    EXPECT_EQ(s.commandTimeout, 300);

    // The next save writes a clean file.
    s.save(store);
    SettingsStore again(path);
    EXPECT_TRUE(again.loadedCleanly());
    EXPECT_EQ(again.readInt("Settings", "CommandTimeout", 0), 300);
}

TEST(SettingsStore, file_is_private_and_sections_delete_recursively)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("Qorvane.conf");
    SettingsStore store(path);
    store.writeText("BarSetting/MainToolBar", "x", "1");
    store.writeText("BarSetting", "y", "2");
    store.writeText("Settings", "z", "3");
    store.deleteSection("BarSetting");
    ASSERT_TRUE(store.sync());
    EXPECT_FALSE(store.contains("BarSetting/MainToolBar", "x"));
    EXPECT_FALSE(store.contains("BarSetting", "y"));
    EXPECT_EQ(store.readText("Settings", "z", ""), "3");
    const auto perms = QFile::permissions(path);
    EXPECT_TRUE(perms & QFileDevice::ReadOwner);
    EXPECT_FALSE(perms & (QFileDevice::ReadGroup | QFileDevice::WriteGroup | QFileDevice::ReadOther
                          | QFileDevice::WriteOther));
    // A value of the wrong type reads as the default.
    EXPECT_EQ(store.readInt("Settings", "z", 5), 3);
    store.writeText("Settings", "t", "abc");
    EXPECT_EQ(store.readInt("Settings", "t", 5), 5);
    EXPECT_TRUE(store.readBinary("Settings", "t").isEmpty());
}
