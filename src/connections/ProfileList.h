#pragma once

#include "ConnectionProfile.h"

#include <QByteArray>
#include <QList>

// The user's connection profiles, kept sorted by name ignoring case after loading and after
// every addition. One process-wide instance (instance()) lives from start-up to exit; it
// reaches the settings store only through the hooks installed by installSettingsHooks().
// All members are to be called from the UI thread only.
class ProfileList
{
public:
    // A stored value holds at most this many bytes, terminating zero included.
    static constexpr int StoredBufferSize = 1024;

    static ProfileList &instance();

    // Binds AppSettings' profile load and save to instance().
    static void installSettingsHooks();

    qsizetype count() const { return m_profiles.size(); }
    bool isEmpty() const { return m_profiles.isEmpty(); }
    const ConnectionProfile &at(qsizetype i) const { return m_profiles.at(i); }
    ConnectionProfile &operator[](qsizetype i) { return m_profiles[i]; }
    const QList<ConnectionProfile> &profiles() const { return m_profiles; }

    void clear() { m_profiles.clear(); }
    void append(const ConnectionProfile &profile) { m_profiles.append(profile); }
    void removeAt(qsizetype i) { m_profiles.removeAt(i); }
    // Sorts by name ignoring case (stable).
    void sort();
    // Index of the first profile whose name equals `name` ignoring case, or -1.
    qsizetype indexOf(const QString &name) const;
    bool contains(const QString &name) const { return indexOf(name) >= 0; }

    // Replaces the list by the profiles deciphered from stored values, skipping any that do
    // not decipher to a connection text, then sorts.
    void loadStored(const QList<QByteArray> &values);
    // The stored values of every profile with a connection text, in list order.
    QList<QByteArray> storedValues() const;

    // The enciphered stored form of a profile (in the process code page).
    static QByteArray encipher(const ConnectionProfile &profile);
    // Deciphers one stored value: false when it does not yield a connection text.
    static bool decipher(const QByteArray &value, ConnectionProfile &profile);
    // Empty when the profile can be stored without loss; otherwise the message to show
    // (its stored form would not fit the buffer, or a character has no form in the code page).
    static QString storageProblem(const QString &name, const QString &connectionText);

private:
    QList<ConnectionProfile> m_profiles;
};
