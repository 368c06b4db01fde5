#pragma once

#include <QAnyStringView>
#include <QMutex>
#include <QString>
#include <QVariant>
#include <QVariantMap>

#include <memory>

class QSettings;

// Per-user settings with registered defaults, over QSettings in its native format
// (~/.config/Kelvara/Kelvara.conf). One instance per process; every read and write is
// serialised, so a write is seen by every later read on any thread, and written through to
// disk at once so that a crash loses no setting. A stored value of one of our keys that is not
// of the key's type or lies outside its range reads as the key's registered default.
class Defaults
{
public:
    static Defaults &standardUserDefaults();

    // Registers a whole table of defaults; later tables add to or replace earlier entries.
    void registerDefaults(const QVariantMap &defaults);

    QVariant objectForKey(QAnyStringView key) const; // invalid when absent without default
    bool boolForKey(QAnyStringView key) const;
    qint64 integerForKey(QAnyStringView key) const;
    double doubleForKey(QAnyStringView key) const;
    QString stringForKey(QAnyStringView key) const; // null when absent without default

    void setObject(QAnyStringView key, const QVariant &value);
    void setBool(QAnyStringView key, bool value) { setObject(key, value); }
    void setInteger(QAnyStringView key, qint64 value) { setObject(key, value); }
    void setDouble(QAnyStringView key, double value) { setObject(key, value); }
    void removeObjectForKey(QAnyStringView key);

    // Forgets every stored value and registered default (tests start from a first launch).
    void resetForTesting();
    // Reads the settings file afresh, as the next launch would (the registered defaults stay).
    void reloadForTesting();

    ~Defaults();

private:
    Defaults();
    QVariant lookup(QAnyStringView key) const;

    mutable QMutex m_mutex;
    std::unique_ptr<QSettings> m_settings;
    QVariantMap m_registered;
};
