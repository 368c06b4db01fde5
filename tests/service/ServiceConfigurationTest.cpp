#include "service/ServiceConfiguration.h"

#include <QUrl>

#include <gtest/gtest.h>

// The overrides by the environment are what every other service test runs on.
TEST(ServiceConfigurationTest, BuiltInEndpointsAreHttps)
{
    qunsetenv("KELVARA_USER_STORE_URL");
    qunsetenv("KELVARA_NOTE_STORE_BASE_URL");
    const QUrl users(ServiceConfiguration::userStoreUrl());
    EXPECT_EQ(users.scheme(), QStringLiteral("https"));
    EXPECT_EQ(users.path(), QStringLiteral("/edam/user"));
    // The note store carries the authentication token: never in clear text by default.
    const QUrl notes(ServiceConfiguration::noteStoreBaseUrl());
    EXPECT_EQ(notes.scheme(), QStringLiteral("https"));
    EXPECT_EQ(notes.path(), QStringLiteral("/edam/note/"));
    EXPECT_EQ(ServiceConfiguration::noteStoreUrl(QStringLiteral("s42")),
              ServiceConfiguration::noteStoreBaseUrl() + QStringLiteral("s42"));
}
