#pragma once

#include <QString>

// Where the service is and how this application introduces itself to it. The endpoints are
// built in (CMake cache variables KELVARA_USER_STORE_URL and KELVARA_NOTE_STORE_BASE_URL) and
// overridden at run time by the environment variables of the same names, for a local service.
class ServiceConfiguration
{
public:
    // An https URL whose path is "/edam/user".
    static QString userStoreUrl();
    // The note stores' common prefix, whose path is "/edam/note/"; https unless overridden.
    static QString noteStoreBaseUrl();
    // A user's note store: the base URL followed directly by the shard id.
    static QString noteStoreUrl(const QString &shardId);

    // Sent with the version check.
    static QString clientName();
    // The application's credentials, sent with every authentication: nine lower-case letters
    // and sixteen hexadecimal digits.
    static QString consumerKey();
    static QString consumerSecret();

    ServiceConfiguration() = delete;
};
