#include "core/Defaults.h"

#include "core/SettingsKeys.h"

#include <QMutexLocker>
#include <QSettings>

Defaults &Defaults::standardUserDefaults()
{
    // Never destroyed: a worker may still read a setting while the process exits.
    static Defaults *instance = new Defaults;
    return *instance;
}

namespace {
std::unique_ptr<QSettings> openSettingsFile()
{
    return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Kelvara"),
                                       QStringLiteral("Kelvara"));
}
} // namespace

Defaults::Defaults()
    : m_settings(openSettingsFile())
{
}

Defaults::~Defaults() = default;

void Defaults::registerDefaults(const QVariantMap &defaults)
{
    QMutexLocker lock(&m_mutex);
    for (auto it = defaults.begin(); it != defaults.end(); ++it)
        m_registered.insert(it.key(), it.value());
}

QVariant Defaults::lookup(QAnyStringView key) const
{
    QMutexLocker lock(&m_mutex);
    QVariant value = m_settings->value(key);
    // A value of the wrong type or out of range (a hand-edited file, an older or newer
    // program's idea of the key) is no value: the key reads as its registered default.
    if (const SettingsKeys::Definition *definition = SettingsKeys::definition(key))
        value = SettingsKeys::typedValue(*definition, value);
    if (value.isValid())
        return value;
    return m_registered.value(key.toString());
}

QVariant Defaults::objectForKey(QAnyStringView key) const
{
    return lookup(key);
}

bool Defaults::boolForKey(QAnyStringView key) const
{
    const QVariant v = lookup(key);
    // QSettings hands back "true"/"false" text for booleans it read from the file.
    if (v.metaType().id() == QMetaType::QString)
        return v.toString() == u"true" || v.toString().toLongLong() != 0;
    return v.toBool();
}

qint64 Defaults::integerForKey(QAnyStringView key) const
{
    const QVariant v = lookup(key);
    if (v.metaType().id() == QMetaType::QString && v.toString() == u"true")
        return 1;
    bool ok = false;
    const qint64 i = v.toLongLong(&ok);
    return ok ? i : qint64(v.toDouble());
}

double Defaults::doubleForKey(QAnyStringView key) const
{
    return lookup(key).toDouble();
}

QString Defaults::stringForKey(QAnyStringView key) const
{
    const QVariant v = lookup(key);
    return v.isValid() ? v.toString() : QString();
}

void Defaults::setObject(QAnyStringView key, const QVariant &value)
{
    QMutexLocker lock(&m_mutex);
    if (!value.isValid())
        m_settings->remove(key);
    else
        m_settings->setValue(key, value);
    m_settings->sync();
}

void Defaults::removeObjectForKey(QAnyStringView key)
{
    setObject(key, QVariant());
}

void Defaults::resetForTesting()
{
    QMutexLocker lock(&m_mutex);
    m_settings->clear();
    m_settings->sync();
    m_registered.clear();
}

void Defaults::reloadForTesting()
{
    QMutexLocker lock(&m_mutex);
    m_settings = openSettingsFile();
}
