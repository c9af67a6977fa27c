#pragma once

#include <QByteArray>
#include <QSettings>
#include <QString>
#include <QStringList>
#include <memory>

// The per-user settings store: typed values (32-bit integer, text, binary) addressed by
// section and value name, kept in an INI file through QSettings. QSettings writes the file
// atomically (a temporary file renamed over the old one), so an interrupted save leaves the
// previous file intact. All members are to be called from the UI thread only.
class SettingsStore
{
public:
    // The user's file: ~/.config/Qorvane2005/Qorvane.conf (XDG_CONFIG_HOME respected).
    static QString defaultPath();

    explicit SettingsStore(const QString &path = defaultPath());
    ~SettingsStore();

    QString path() const { return m_path; }

    // False when the file existed but could not be read or parsed; the store then starts
    // empty and the unreadable file has been moved aside to backupPath().
    bool loadedCleanly() const { return m_loadError.isEmpty(); }
    QString loadError() const { return m_loadError; }
    QString backupPath() const { return m_path + QStringLiteral(".bad"); }

    bool contains(const QString &section, const QString &name) const;
    qint32 readInt(const QString &section, const QString &name, qint32 defaultValue) const;
    QString readText(const QString &section, const QString &name, const QString &defaultValue) const;
    QByteArray readBinary(const QString &section, const QString &name,
                          const QByteArray &defaultValue = {}) const;

    void writeInt(const QString &section, const QString &name, qint32 value);
    void writeText(const QString &section, const QString &name, const QString &value);
    void writeBinary(const QString &section, const QString &name, const QByteArray &value);

    // Removes the section with every value and subsection under it.
    void deleteSection(const QString &section);
    QStringList valueNames(const QString &section) const;

    // Writes pending changes to disk; false when the file could not be written. The file is
    // made readable by its owner only, since it holds connection profiles.
    bool sync();

private:
    QString key(const QString &section, const QString &name) const;

    QString m_path;
    QString m_loadError;
    std::unique_ptr<QSettings> m_settings;
};
