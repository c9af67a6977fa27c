#include "AppSettings.h"

#include "SettingsStore.h"

#include <variant>

namespace {

const QString kSettings = QStringLiteral("Settings");
const QString kEnv = QStringLiteral("env");

using IntField = qint32 AppSettings::*;
using TextField = QString AppSettings::*;
using ColorField = ColorRef AppSettings::*;

struct Entry
{
    const char *name;
    std::variant<IntField, TextField, ColorField> field;
};

// The "Settings" values in their load and save order.
const Entry kEntries[] = {
    {"AutoCommit", &AppSettings::autoCommit},
    {"AutoExec", &AppSettings::autoExec},
    {"CommentOut", &AppSettings::commentOut},
    {"CaseSensitive", &AppSettings::caseSensitive},
    {"ChangeCase", &AppSettings::changeCase},
    {"DBInfoColor", &AppSettings::dbInfoColor},
    {"NullCopy", &AppSettings::nullCopy},
    {"CopyHeadDelimiter", &AppSettings::copyHeadDelimiter},
    {"ConnectTimeout", &AppSettings::connectTimeout},
    {"CommandTimeout", &AppSettings::commandTimeout},
    {"CursorLocation", &AppSettings::cursorLocation},
    {"Delimiters", &AppSettings::delimiters},
    {"QrySqlAutoBeaut", &AppSettings::qrySqlAutoBeaut},
    {"RsvSqlAutoBeaut", &AppSettings::rsvSqlAutoBeaut},
    {"RsvSqlInNew", &AppSettings::rsvSqlInNew},
    {"NullData", &AppSettings::nullData},
    {"LineComment", &AppSettings::lineComment},
    {"BlockComment", &AppSettings::blockComment},
    {"BlockComment2", &AppSettings::blockComment2},
    {"KeywordColor", &AppSettings::keywordColor},
    {"ConstantColor", &AppSettings::constantColor},
    {"FunctionColor", &AppSettings::functionColor},
    {"CommentColor", &AppSettings::commentColor},
    {"StringColor", &AppSettings::stringColor},
    {"NumericColor", &AppSettings::numericColor},
    {"Keywords", &AppSettings::keywords},
    {"Constants", &AppSettings::constants},
    {"Functions", &AppSettings::functions},
    {"RSCellColor", &AppSettings::rsCellColor},
    {"RSNullColor", &AppSettings::rsNullColor},
    {"RSModifiedColor", &AppSettings::rsModifiedColor},
    {"RSDeletedColor", &AppSettings::rsDeletedColor},
    {"RSInsertedColor", &AppSettings::rsInsertedColor},
    {"RSAutoColor", &AppSettings::rsAutoColor},
    {"RSAutoBgColor", &AppSettings::rsAutoBgColor},
    {"RSCellFuncColor", &AppSettings::rsCellFuncColor},
};

struct FontEntry
{
    const char *name;
    LogFont AppSettings::*field;
    LogFont::Variant variant;
};

const FontEntry kFonts[] = {
    {"QView_Font", &AppSettings::qViewFont, LogFont::Variant::Editor},
    {"QGrid_Font", &AppSettings::qGridFont, LogFont::Variant::Grid},
    {"DBInfo_Font", &AppSettings::dbInfoFont, LogFont::Variant::Grid},
};

AppSettings::ProfileHooks &profileHooks()
{
    static AppSettings::ProfileHooks hooks;
    return hooks;
}

AppSettings::SectionHooks &sectionHooks()
{
    static AppSettings::SectionHooks hooks;
    return hooks;
}

} // namespace

AppSettings &AppSettings::instance()
{
    static AppSettings settings;
    return settings;
}

QString AppSettings::defaultDelimiters()
{
    return QStringLiteral("~!@%^&*()-+=|\\/{}[]:;\"'<> ,.?");
}

QString AppSettings::builtInKeywords()
{
    return QStringLiteral(
        " SELECT ALL DISTINCT UNIQUE CASE WHEN THEN ELSE END AS INTO TEMP FROM LEFT JOIN RIGHT "
        "INNER OUTER ON UNION WHERE AND OR NOT IN EXISTS BETWEEN LIKE GROUP BY ORDER HAVING "
        "INSERT INTO VALUES UPDATE SET DELETE CREATE TABLE VIEW INDEX PRIMARY KEY ALTER TABLE "
        "ADD COLUMN DROP TABLE TRUNCATE TABLE ");
}

QString AppSettings::builtInConstants()
{
    return QStringLiteral(" NULL ASC DESC ");
}

QString AppSettings::builtInFunctions()
{
    return QStringLiteral(" ABS MAX MIN AVG COUNT SUM ");
}

void AppSettings::setProfileHooks(ProfileHooks hooks)
{
    profileHooks() = std::move(hooks);
}

void AppSettings::setSectionHooks(SectionHooks hooks)
{
    sectionHooks() = std::move(hooks);
}

QStringList AppSettings::settingNames()
{
    QStringList names;
    for (const Entry &e : kEntries)
        names << QString::fromLatin1(e.name);
    return names;
}

QList<QByteArray> AppSettings::readProfileValues(const SettingsStore &store)
{
    QList<QByteArray> values;
    for (int n = 1;; ++n) {
        const QString name = QStringLiteral("Conn%1").arg(n);
        if (!store.contains(kEnv, name))
            break;
        values << store.readBinary(kEnv, name);
    }
    return values;
}

void AppSettings::writeProfileValues(SettingsStore &store, const QList<QByteArray> &values)
{
    int n = 0;
    for (const QByteArray &value : values) {
        if (value.isEmpty())
            continue;
        store.writeBinary(kEnv, QStringLiteral("Conn%1").arg(++n), value);
    }
}

void AppSettings::load(const SettingsStore &store)
{
    load(store, systemLanguageId());
}

void AppSettings::load(const SettingsStore &store, int languageId)
{
    if (profileHooks().load)
        profileHooks().load(readProfileValues(store));

    for (const FontEntry &f : kFonts) {
        const QByteArray bytes = store.readBinary(kEnv, QString::fromLatin1(f.name));
        LogFont font;
        if (bytes.isEmpty() || !LogFont::fromBytes(bytes, &font))
            font = LogFont::defaultFont(f.variant, languageId);
        this->*f.field = font;
    }

    const AppSettings defaults;
    for (const Entry &e : kEntries) {
        const QString name = QString::fromLatin1(e.name);
        std::visit(
            [&](auto field) {
                using Field = decltype(field);
                if constexpr (std::is_same_v<Field, IntField>)
                    this->*field = store.readInt(kSettings, name, defaults.*field);
                else if constexpr (std::is_same_v<Field, TextField>)
                    this->*field = store.readText(kSettings, name, defaults.*field);
                else
                    this->*field = ColorRef(
                        quint32(store.readInt(kSettings, name, qint32((defaults.*field).value))));
            },
            e.field);
    }
    windowPos = store.readText(kSettings, QStringLiteral("WindowPos"), QString());

    if (sectionHooks().load)
        sectionHooks().load(store);
}

void AppSettings::save(SettingsStore &store) const
{
    store.deleteSection(kEnv);
    if (profileHooks().save)
        writeProfileValues(store, profileHooks().save());

    for (const FontEntry &f : kFonts)
        store.writeBinary(kEnv, QString::fromLatin1(f.name), (this->*f.field).toBytes());

    for (const Entry &e : kEntries) {
        const QString name = QString::fromLatin1(e.name);
        std::visit(
            [&](auto field) {
                using Field = decltype(field);
                if constexpr (std::is_same_v<Field, IntField>)
                    store.writeInt(kSettings, name, this->*field);
                else if constexpr (std::is_same_v<Field, TextField>)
                    store.writeText(kSettings, name, this->*field);
                else
                    store.writeInt(kSettings, name, qint32((this->*field).value));
            },
            e.field);
    }
    if (!windowPos.isEmpty())
        store.writeText(kSettings, QStringLiteral("WindowPos"), windowPos);

    if (sectionHooks().save)
        sectionHooks().save(store);
    store.sync();
}
