#include "service/ServiceConfiguration.h"

#include <QRegularExpression>
#include <QUrl>

#include <gtest/gtest.h>

TEST(ServiceConfigurationTest, BuiltInEndpointsAreHttpsAndTheEnvironmentOverridesThem)
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

    qputenv("KELVARA_USER_STORE_URL", "http://127.0.0.1:8080/edam/user");
    qputenv("KELVARA_NOTE_STORE_BASE_URL", "http://127.0.0.1:8080/edam/note/");
    EXPECT_EQ(ServiceConfiguration::userStoreUrl(), QStringLiteral("http://127.0.0.1:8080/edam/user"));
    EXPECT_EQ(ServiceConfiguration::noteStoreUrl(QStringLiteral("s1")),
              QStringLiteral("http://127.0.0.1:8080/edam/note/s1"));
    qunsetenv("KELVARA_USER_STORE_URL");
    qunsetenv("KELVARA_NOTE_STORE_BASE_URL");

    EXPECT_EQ(ServiceConfiguration::clientName(), QStringLiteral("Kelvara"));
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^[a-z]{9}$")).match(ServiceConfiguration::consumerKey()).hasMatch());
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^[0-9a-fA-F]{16}$"))
                    .match(ServiceConfiguration::consumerSecret()).hasMatch());
}
