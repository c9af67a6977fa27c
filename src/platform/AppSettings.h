#pragma once

#include "ColorRef.h"
#include "LogFont.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <functional>

class SettingsStore;

// Every user preference, in memory. One process-wide instance (instance()) is filled from
// the store once at start-up and written back once at normal exit; the options dialog and
// the font commands change it in between. All members are to be called from the UI thread
// only (the fetch worker reads plain values that do not change while it runs).
class AppSettings
{
public:
    static AppSettings &instance();

    // Section "Settings", integers.
    qint32 autoCommit = 0;
    qint32 autoExec = 1;
    qint32 commentOut = 1;
    qint32 caseSensitive = 0;
    qint32 changeCase = 1;
    qint32 dbInfoColor = 1;
    qint32 nullCopy = 0;
    qint32 copyHeadDelimiter = 0;
    qint32 connectTimeout = 15;
    qint32 commandTimeout = 300;
    qint32 cursorLocation = 1;
    qint32 qrySqlAutoBeaut = 1;
    qint32 rsvSqlAutoBeaut = 0;
    qint32 rsvSqlInNew = 1;

    // Section "Settings", texts.
    QString delimiters = defaultDelimiters();
    QString nullData = QStringLiteral("<NULL>");
    QString lineComment = QStringLiteral("--");
    QString blockComment = QStringLiteral("/*");
    QString blockComment2 = QStringLiteral("*/");
    QString keywords;
    QString constants;
    QString functions;

    // Never stored.
    QString variantData = QStringLiteral("<Variant>");
    QString binaryData = QStringLiteral("<Binary>");

    // Section "Settings", colours (0x00BBGGRR plus the bold bit).
    ColorRef keywordColor = ColorRef(0xFF0000);
    ColorRef constantColor = ColorRef(0x808080);
    ColorRef functionColor = ColorRef(0xFF00FF);
    ColorRef commentColor = ColorRef(0x008000);
    ColorRef stringColor = ColorRef(0x0000FF);
    ColorRef numericColor = ColorRef(0x0000FF);
    ColorRef rsCellColor = ColorRef(0xFFFFFF);
    ColorRef rsNullColor = ColorRef(0x808080);
    ColorRef rsModifiedColor = ColorRef(0xC8FFFF);
    ColorRef rsDeletedColor = ColorRef(0xFFC8FF);
    ColorRef rsInsertedColor = ColorRef(0xFFFFC8);
    ColorRef rsAutoColor = ColorRef(0x000080);
    ColorRef rsAutoBgColor = ColorRef(0x808080);
    ColorRef rsCellFuncColor = ColorRef(0xFF00FF);

    // Section "env", fonts.
    LogFont qViewFont;
    LogFont qGridFont;
    LogFont dbInfoFont;

    // Section "Settings", "WindowPos"; empty when none was stored.
    QString windowPos;

    static QString defaultDelimiters();
    static QString builtInKeywords();
    static QString builtInConstants();
    static QString builtInFunctions();

    // Stored connection profiles, as the store keeps them: the enciphered values
    // "Conn1", "Conn2", ... in order. The profile list turns them into profiles.
    struct ProfileHooks
    {
        std::function<void(const QList<QByteArray> &)> load;
        std::function<QList<QByteArray>()> save;
    };
    // Further sections loaded after and saved after "Settings" (the formatter's options).
    struct SectionHooks
    {
        std::function<void(const SettingsStore &)> load;
        std::function<void(SettingsStore &)> save;
    };
    static void setProfileHooks(ProfileHooks hooks);
    static void setSectionHooks(SectionHooks hooks);

    // Loading: profiles, fonts (defaults for the system language when absent), the
    // "Settings" values in their order, then the further sections. Never fails.
    void load(const SettingsStore &store, int languageId);
    void load(const SettingsStore &store);
    // Saving: delete "env", write profiles without gaps, the fonts, "Settings", then the
    // further sections. Errors of the store are not reported.
    void save(SettingsStore &store) const;

    // The binary values "Conn1", "Conn2", ... up to the first missing number.
    static QList<QByteArray> readProfileValues(const SettingsStore &store);
    // Writes "Conn1".. for the non-empty values, numbering without gaps.
    static void writeProfileValues(SettingsStore &store, const QList<QByteArray> &values);

    // The value names of section "Settings" in load and save order.
    static QStringList settingNames();
};
