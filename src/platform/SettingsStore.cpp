#include "SettingsStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

QString SettingsStore::defaultPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
           + QStringLiteral("/Qorvane2005/Qorvane.conf");
}

SettingsStore::SettingsStore(const QString &path)
    : m_path(path)
{
    QFileInfo info(path);
    QDir().mkpath(info.absolutePath());
    m_settings = std::make_unique<QSettings>(path, QSettings::IniFormat);
    m_settings->setAtomicSyncRequired(true);

    QString problem;
    if (m_settings->status() == QSettings::AccessError)
        problem = QStringLiteral("読み込めません");
    else if (m_settings->status() == QSettings::FormatError)
        problem = QStringLiteral("形式が正しくありません");
    else if (info.exists() && !info.isReadable())
        problem = QStringLiteral("読み取り権限がありません");
    else if (info.exists() && info.size() > 0 && m_settings->allKeys().isEmpty())
        problem = QStringLiteral("設定値が見つかりません");

    if (!problem.isEmpty()) {
        m_loadError = QStringLiteral("設定ファイル %1 を読み込めませんでした（%2）。\n"
                                     "既定値で起動します。元のファイルは %3 に保存しました。")
                          .arg(path, problem, backupPath());
        m_settings.reset();
        QFile::remove(backupPath());
        if (!QFile::rename(path, backupPath()))
            QFile::remove(path);
        m_settings = std::make_unique<QSettings>(path, QSettings::IniFormat);
        m_settings->setAtomicSyncRequired(true);
    }
}

SettingsStore::~SettingsStore() = default;

namespace {
// Creates the file empty and private before anything is written to it; later atomic saves
// keep the permissions of the file they replace.
void createPrivateFile(const QString &path)
{
    if (QFileInfo::exists(path))
        return;
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.close();
    QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}
} // namespace

QString SettingsStore::key(const QString &section, const QString &name) const
{
    return section + QLatin1Char('/') + name;
}

bool SettingsStore::contains(const QString &section, const QString &name) const
{
    return m_settings->contains(key(section, name));
}

qint32 SettingsStore::readInt(const QString &section, const QString &name, qint32 defaultValue) const
{
    const QVariant v = m_settings->value(key(section, name));
    if (!v.isValid())
        return defaultValue;
    bool ok = false;
    const qlonglong n = v.toString().trimmed().toLongLong(&ok, 0);
    if (!ok)
        return defaultValue;
    return qint32(quint32(n)); // values such as colours are stored as unsigned 32-bit numbers
}

QString SettingsStore::readText(const QString &section, const QString &name,
                                const QString &defaultValue) const
{
    const QVariant v = m_settings->value(key(section, name));
    if (!v.isValid())
        return defaultValue;
    if (v.typeId() == QMetaType::QStringList)
        return v.toStringList().join(QLatin1Char(','));
    return v.toString();
}

QByteArray SettingsStore::readBinary(const QString &section, const QString &name,
                                     const QByteArray &defaultValue) const
{
    const QVariant v = m_settings->value(key(section, name));
    if (!v.isValid())
        return defaultValue;
    if (v.typeId() != QMetaType::QByteArray)
        return defaultValue;
    return v.toByteArray();
}

void SettingsStore::writeInt(const QString &section, const QString &name, qint32 value)
{
    m_settings->setValue(key(section, name), value);
}

void SettingsStore::writeText(const QString &section, const QString &name, const QString &value)
{
    m_settings->setValue(key(section, name), value);
}

void SettingsStore::writeBinary(const QString &section, const QString &name, const QByteArray &value)
{
    m_settings->setValue(key(section, name), value);
}

void SettingsStore::deleteSection(const QString &section)
{
    m_settings->remove(section);
}

QStringList SettingsStore::valueNames(const QString &section) const
{
    m_settings->beginGroup(section);
    const QStringList names = m_settings->childKeys();
    m_settings->endGroup();
    return names;
}

bool SettingsStore::sync()
{
    createPrivateFile(m_path);
    m_settings->sync();
    QFile::setPermissions(m_path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    return m_settings->status() == QSettings::NoError;
}
