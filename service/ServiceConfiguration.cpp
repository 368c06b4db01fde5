#include "service/ServiceConfiguration.h"

#include <QtGlobal>

namespace {

QString configured(const char *variable, const char *builtIn)
{
    const QString value = qEnvironmentVariable(variable);
    return value.isEmpty() ? QString::fromUtf8(builtIn) : value;
}

} // namespace

QString ServiceConfiguration::userStoreUrl()
{
    return configured("KELVARA_USER_STORE_URL", KELVARA_BUILTIN_USER_STORE_URL);
}

QString ServiceConfiguration::noteStoreBaseUrl()
{
    return configured("KELVARA_NOTE_STORE_BASE_URL", KELVARA_BUILTIN_NOTE_STORE_BASE_URL);
}

QString ServiceConfiguration::noteStoreUrl(const QString &shardId)
{
    return noteStoreBaseUrl() + shardId;
}

QString ServiceConfiguration::clientName()
{
    return QStringLiteral("Kelvara");
}

QString ServiceConfiguration::consumerKey()
{
    return QStringLiteral(KELVARA_BUILTIN_CONSUMER_KEY);
}

QString ServiceConfiguration::consumerSecret()
{
    return QStringLiteral(KELVARA_BUILTIN_CONSUMER_SECRET);
}
