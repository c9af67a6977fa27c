#include "ProfileList.h"

#include "CStreamXOR256_0.h"
#include "platform/AppSettings.h"
#include "platform/CodePage.h"

#include <algorithm>

ProfileList &ProfileList::instance()
{
    static ProfileList list;
    return list;
}

void ProfileList::installSettingsHooks()
{
    AppSettings::setProfileHooks(
        {[](const QList<QByteArray> &values) { instance().loadStored(values); },
         []() { return instance().storedValues(); }});
}

void ProfileList::sort()
{
    std::stable_sort(m_profiles.begin(), m_profiles.end(),
                     [](const ConnectionProfile &a, const ConnectionProfile &b) {
                         return a.name.compare(b.name, Qt::CaseInsensitive) < 0;
                     });
}

qsizetype ProfileList::indexOf(const QString &name) const
{
    for (qsizetype i = 0; i < m_profiles.size(); ++i) {
        if (m_profiles.at(i).name.compare(name, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

void ProfileList::loadStored(const QList<QByteArray> &values)
{
    m_profiles.clear();
    for (const QByteArray &value : values) {
        ConnectionProfile profile;
        if (decipher(value, profile))
            m_profiles.append(profile);
    }
    sort();
}

QList<QByteArray> ProfileList::storedValues() const
{
    QList<QByteArray> values;
    for (const ConnectionProfile &profile : m_profiles) {
        if (profile.connectionText.isEmpty())
            continue;
        const QByteArray value = encipher(profile);
        if (!value.isEmpty())
            values.append(value);
    }
    return values;
}

QByteArray ProfileList::encipher(const ConnectionProfile &profile)
{
    CStreamXOR256_0 cipher;
    QByteArray bytes;
    if (!cipher.SetKey(CStreamXOR256_0::profileKey())
        || !cipher.EncryptToBytes(profile.storedText(), bytes))
        return {};
    return bytes;
}

bool ProfileList::decipher(const QByteArray &value, ConnectionProfile &profile)
{
    CStreamXOR256_0 cipher;
    QString text;
    if (!cipher.SetKey(CStreamXOR256_0::profileKey()) || !cipher.DecryptFromBytes(value, text))
        return false;
    const qsizetype zero = text.indexOf(QChar(0));
    if (zero >= 0)
        text.truncate(zero);
    text = text.trimmed();
    // Every value this program writes starts with the name pair and holds printable text
    // only; anything else is damage (or another key), not a profile.
    if (!text.startsWith(QLatin1String("ConnName="), Qt::CaseInsensitive))
        return false;
    for (const QChar c : std::as_const(text)) {
        if (c == QChar::ReplacementCharacter || (c.unicode() < 0x20 && c != QLatin1Char('\t')))
            return false;
    }
    profile = ConnectionProfile(QString(), text);
    return !profile.connectionText.isEmpty();
}

QString ProfileList::storageProblem(const QString &name, const QString &connectionText)
{
    const ConnectionProfile profile(name, connectionText);
    bool lossy = false;
    const QByteArray bytes
        = CodePage::fromUnicode(profile.storedText(), CodePage::processCodePage(), &lossy);
    if (lossy) {
        return QStringLiteral("接続名または接続文字列に、保存できない文字が含まれています。");
    }
    if (bytes.size() >= StoredBufferSize) {
        return QStringLiteral("接続情報が長すぎるため保存できません（%1 バイト、上限 %2 バイト）。")
            .arg(bytes.size())
            .arg(StoredBufferSize - 1);
    }
    return {};
}
