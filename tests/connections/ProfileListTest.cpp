#include "connections/CStreamXOR256_0.h"
#include "connections/ProfileList.h"
#include "platform/AppSettings.h"
#include "platform/CodePage.h"
#include "platform/SettingsStore.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QStringList names(const ProfileList &list)
{
    QStringList out;
    for (const ConnectionProfile &p : list.profiles())
        out << p.name;
    return out;
}

// Restores the process code page and empties the shared list around a test.
class ProfileListFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_codePage = CodePage::processCodePage();
        ProfileList::instance().clear();
    }
    void TearDown() override
    {
        CodePage::setProcessCodePage(m_codePage);
        ProfileList::instance().clear();
    }
    int m_codePage = 0;
};

} // namespace

TEST_F(ProfileListFixture, sorts_by_name_ignoring_case_and_finds_ignoring_case)
{
    ProfileList list;
    for (const char *n : {"beta", "Alpha", "gamma", "ALPHA2", "Beta"})
        list.append(ConnectionProfile(QString::fromUtf8(n), QStringLiteral("Provider=X")));
    list.sort();
    ASSERT_EQ(list.count(), 5);
    EXPECT_EQ(names(list).mid(0, 2), (QStringList{"Alpha", "ALPHA2"}));
    EXPECT_EQ(names(list).mid(4), QStringList{"gamma"});
    EXPECT_EQ(list.indexOf(QStringLiteral("GAMMA")), 4);
    EXPECT_EQ(list.indexOf(QStringLiteral("delta")), -1);
}

TEST_F(ProfileListFixture, stored_values_round_trip_in_both_code_pages)
{
    for (int codePage : {932, 65001}) {
        SCOPED_TRACE(codePage);
        CodePage::setProcessCodePage(codePage);
        ProfileList list;
        list.append(ConnectionProfile(QStringLiteral("売上"),
                                      QStringLiteral("Provider=PostgreSQL;Data Source=h;"
                                                     "User ID=山田;Password=ｐａｓｓ")));
        list.append(ConnectionProfile(QStringLiteral("a"),
                                      QStringLiteral("Provider=SQLite;Data Source=/tmp/x.db")));
        list.append(ConnectionProfile(QStringLiteral("empty"), QString()));
        const QList<QByteArray> values = list.storedValues();
        ASSERT_EQ(values.size(), 2); // the profile without a connection text is not stored
        EXPECT_EQ(values.at(0).size(),
                  CodePage::fromUnicode(list.at(0).storedText(), codePage).size());

        ProfileList loaded;
        loaded.loadStored(values);
        ASSERT_EQ(loaded.count(), 2);
        EXPECT_EQ(names(loaded), (QStringList{"a", "売上"}));
        EXPECT_EQ(loaded.at(1).user, QStringLiteral("山田"));
        EXPECT_EQ(loaded.at(1).password, QStringLiteral("ｐａｓｓ"));
        EXPECT_EQ(loaded.at(1).connectionText, list.at(0).connectionText);
    }
}

TEST_F(ProfileListFixture, damaged_values_are_skipped_and_the_rest_load)
{
    CodePage::setProcessCodePage(65001);
    const QByteArray good = ProfileList::encipher(
        ConnectionProfile(QStringLiteral("ok"), QStringLiteral("Provider=SQLite;Data Source=a")));
    // A value written with a zero-filled buffer after the text still loads.
    const QByteArray padded = [] {
        CStreamXOR256_0 cipher;
        cipher.SetKey(CStreamXOR256_0::profileKey());
        QByteArray bytes;
        QString text = QStringLiteral("  ConnName=pad;Provider=SQLite;Data Source=b ");
        text += QString(8, QChar(0));
        cipher.EncryptToBytes(text, bytes, 65001);
        return bytes;
    }();
    const QList<QByteArray> values
        = {QByteArray("\x01\x02garbage", 9), good, QByteArray(), padded, QByteArray(40, 'z')};
    ProfileList list;
    list.loadStored(values);
    EXPECT_EQ(names(list), (QStringList{"ok", "pad"}));
    EXPECT_EQ(list.at(1).dataSource, QStringLiteral("b"));
}

TEST_F(ProfileListFixture, storage_problem_refuses_long_or_unrepresentable_profiles)
{
    CodePage::setProcessCodePage(932);
    const QString base = QStringLiteral("Provider=SQLite;Data Source=");
    // "ConnName=n;" (11) + composed text; the composed text adds one ";" after the source.
    const int room = ProfileList::StoredBufferSize - 1 - 11 - base.size() - 1;
    EXPECT_TRUE(
        ProfileList::storageProblem(QStringLiteral("n"), base + QString(room, 'x')).isEmpty());
    EXPECT_FALSE(
        ProfileList::storageProblem(QStringLiteral("n"), base + QString(room + 1, 'x')).isEmpty());
    // 512 double-byte characters reach 1024 bytes although the text has far fewer characters.
    EXPECT_FALSE(
        ProfileList::storageProblem(QStringLiteral("n"), base + QString(500, QChar(0x65E5)))
            .isEmpty());
    // Hangul has no form in code page 932: storing it would lose the text.
    EXPECT_FALSE(ProfileList::storageProblem(QStringLiteral("한"), base + "a").isEmpty());
    CodePage::setProcessCodePage(65001);
    EXPECT_TRUE(ProfileList::storageProblem(QStringLiteral("한"), base + "a").isEmpty());
}

// Through the settings store: gaps stop loading, saving renumbers, and the file is private.
TEST_F(ProfileListFixture, settings_hooks_load_until_gap_and_save_without_gaps)
{
    CodePage::setProcessCodePage(65001);
    ProfileList::installSettingsHooks();
    QTemporaryDir dir;
    const QString path = dir.filePath("Qorvane.conf");
    {
        SettingsStore store(path);
        const auto value = [](const char *name) {
            return ProfileList::encipher(ConnectionProfile(
                QString::fromUtf8(name), QStringLiteral("Provider=SQLite;Data Source=x")));
        };
        store.writeBinary("env", "Conn1", value("zeta"));
        store.writeBinary("env", "Conn2", value("Alpha"));
        store.writeBinary("env", "Conn4", value("never"));
        ASSERT_TRUE(store.sync());
    }
    {
        SettingsStore store(path);
        AppSettings settings;
        settings.load(store);
        EXPECT_EQ(names(ProfileList::instance()), (QStringList{"Alpha", "zeta"}));
        ProfileList::instance().append(ConnectionProfile(
            QStringLiteral("beta"), QStringLiteral("Provider=SQLite;Data Source=y")));
        ProfileList::instance().sort();
        settings.save(store);
        ASSERT_TRUE(store.sync());
    }
    {
        SettingsStore store(path);
        EXPECT_TRUE(store.contains("env", "Conn3"));
        EXPECT_FALSE(store.contains("env", "Conn4"));
        ProfileList::instance().clear();
        AppSettings settings;
        settings.load(store);
        EXPECT_EQ(names(ProfileList::instance()), (QStringList{"Alpha", "beta", "zeta"}));
    }
    EXPECT_EQ(QFile::permissions(path)
                  & (QFile::ReadGroup | QFile::ReadOther | QFile::WriteGroup | QFile::WriteOther),
              QFileDevice::Permissions());
}
