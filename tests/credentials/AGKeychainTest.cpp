// Runs against the GNOME Keyring daemon that scripts/test-session starts and unlocks. Test
// cases run in parallel processes on that one keyring, so each uses accounts of its own.
#include "core/credentials/AGKeychain.h"

#include "tests/support/DiesWithParent.h"
#include "tests/support/LogCapture.h"

#include <QCoreApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <QUuid>

#include <gtest/gtest.h>

#pragma push_macro("signals")
#undef signals
#include <libsecret/secret.h>
#pragma pop_macro("signals")

namespace {

const QString itemName = QStringLiteral("Kelvara");
const QString itemKind = QStringLiteral("password");

// What any other Secret Service client sees: the items carrying the three attributes.
GList *itemsSeenByOtherClients(const QString &username)
{
    GHashTable *attributes = g_hash_table_new(g_str_hash, g_str_equal);
    const QByteArray account = username.toUtf8();
    g_hash_table_insert(attributes, gpointer("label"), gpointer("Kelvara"));
    g_hash_table_insert(attributes, gpointer("description"), gpointer("password"));
    g_hash_table_insert(attributes, gpointer("account"), gpointer(account.constData()));
    // A failed search finds nothing, which the callers' count of items reports.
    GList *items = secret_service_search_sync(nullptr, nullptr, attributes,
                                              SecretSearchFlags(SECRET_SEARCH_ALL | SECRET_SEARCH_UNLOCK), nullptr, nullptr);
    g_hash_table_unref(attributes);
    return items;
}

class AGKeychainTest : public ::testing::Test
{
protected:
    void TearDown() override
    {
        for (const QString &user : std::as_const(m_users))
            AGKeychain::deleteKeychainItem(itemName, itemKind, user);
    }

    QString user(const char *tag)
    {
        m_users << QStringLiteral("%1-%2").arg(QString::fromUtf8(tag), QUuid::createUuid().toString(QUuid::WithoutBraces));
        return m_users.last();
    }

private:
    QStringList m_users;
};

TEST_F(AGKeychainTest, AddReadModifyDeleteKeepEveryPasswordWhole)
{
    // The user name's UTF-8 form is longer than its character count.
    const QString zoe = user("Zoë Ångström 日本");
    const QString password = QStringLiteral("pässwörd 密码 🔑");
    // 4,000 bytes of two-byte characters: any cut below that loses data, and an odd cut falls
    // inside a character.
    const QString longPassword(2000, QChar(0x00E9));
    ASSERT_TRUE(AGKeychain::addKeychainItem(itemName, itemKind, zoe, QStringLiteral("first")));
    LogCapture log;
    EXPECT_TRUE(AGKeychain::checkForExistanceOfKeychainItem(itemName, itemKind, zoe));
    EXPECT_EQ(AGKeychain::getPasswordFromKeychainItem(itemName, itemKind, zoe), "first");
    ASSERT_TRUE(AGKeychain::modifyKeychainItem(itemName, itemKind, zoe, longPassword));
    EXPECT_EQ(AGKeychain::getPasswordFromKeychainItem(itemName, itemKind, zoe), longPassword);
    // Adding again replaces the password rather than leaving two items to choose from.
    ASSERT_TRUE(AGKeychain::addKeychainItem(itemName, itemKind, zoe, password));
    EXPECT_EQ(AGKeychain::getPasswordFromKeychainItem(itemName, itemKind, zoe), password);

    // The item is one generic password that any keyring tool finds by the three attributes,
    // holding the password's UTF-8 bytes.
    GList *items = itemsSeenByOtherClients(zoe);
    ASSERT_EQ(g_list_length(items), 1u);
    auto *item = SECRET_ITEM(items->data);
    ASSERT_TRUE(secret_item_load_secret_sync(item, nullptr, nullptr));
    SecretValue *value = secret_item_get_secret(item);
    gsize length = 0;
    const gchar *bytes = secret_value_get(value, &length);
    EXPECT_EQ(QByteArray(bytes, qsizetype(length)), password.toUtf8());
    secret_value_unref(value);
    EXPECT_EQ(AGKeychain::getPasswordFromSecKeychainItemRef(item), password);

    ASSERT_TRUE(AGKeychain::deleteKeychainItem(itemName, itemKind, zoe));
    EXPECT_FALSE(AGKeychain::checkForExistanceOfKeychainItem(itemName, itemKind, zoe));
    EXPECT_EQ(AGKeychain::getPasswordFromKeychainItem(itemName, itemKind, zoe), QString());

    // Reading an item that is gone fails; the answer must not pass for a password.
    testing::internal::CaptureStdout();
    EXPECT_EQ(AGKeychain::getPasswordFromSecKeychainItemRef(item), QString());
    EXPECT_EQ(AGKeychain::getPasswordFromSecKeychainItemRef(nullptr), QString());
    const QString out = QString::fromStdString(testing::internal::GetCapturedStdout());
    EXPECT_FALSE(out.contains(password) || log.lines().join(u' ').contains(password));
    g_list_free_full(items, g_object_unref);
}

TEST_F(AGKeychainTest, AccountsAndItemKindsAreKeptApartAndAMissingItemCannotBeChanged)
{
    const QString bob = user("bob");
    const QString bobby = bob + QStringLiteral("by");
    const QString carol = user("carol");
    ASSERT_TRUE(AGKeychain::addKeychainItem(itemName, itemKind, bob, QStringLiteral("bob's")));
    ASSERT_TRUE(AGKeychain::addKeychainItem(itemName, itemKind, carol, QStringLiteral("carol's")));
    EXPECT_EQ(AGKeychain::getPasswordFromKeychainItem(itemName, itemKind, bob), "bob's");
    EXPECT_EQ(AGKeychain::getPasswordFromKeychainItem(itemName, itemKind, carol), "carol's");
    EXPECT_FALSE(AGKeychain::checkForExistanceOfKeychainItem(itemName, QStringLiteral("token"), bob));
    EXPECT_FALSE(AGKeychain::checkForExistanceOfKeychainItem(QStringLiteral("Other"), itemKind, bob));

    // A user without an item, whose name only starts like another's.
    EXPECT_FALSE(AGKeychain::checkForExistanceOfKeychainItem(itemName, itemKind, bobby));
    EXPECT_EQ(AGKeychain::getPasswordFromKeychainItem(itemName, itemKind, bobby), QString());
    EXPECT_FALSE(AGKeychain::modifyKeychainItem(itemName, itemKind, bobby, QStringLiteral("x")));
    EXPECT_FALSE(AGKeychain::checkForExistanceOfKeychainItem(itemName, itemKind, bobby))
        << "a failed modify must not create the item";
    EXPECT_TRUE(AGKeychain::deleteKeychainItem(itemName, itemKind, bobby));

    ASSERT_TRUE(AGKeychain::modifyKeychainItem(itemName, itemKind, bob, QStringLiteral("changed")));
    ASSERT_TRUE(AGKeychain::deleteKeychainItem(itemName, itemKind, bob));
    EXPECT_EQ(AGKeychain::getPasswordFromKeychainItem(itemName, itemKind, carol), "carol's");
}

// The session bus is fixed for the life of a process, so the cases without a Secret Service
// run in a child process of this test with its own DBUS_SESSION_BUS_ADDRESS.
const char childMarker[] = "KELVARA_KEYCHAIN_WITHOUT_SERVICE";

TEST(AGKeychainWithoutServiceTest, EveryOperationFailsAtOnce)
{
    if (qEnvironmentVariableIsSet(childMarker)) {
        const QString eve = QStringLiteral("eve");
        EXPECT_FALSE(AGKeychain::checkForExistanceOfKeychainItem(itemName, itemKind, eve));
        EXPECT_EQ(AGKeychain::getPasswordFromKeychainItem(itemName, itemKind, eve), QString());
        EXPECT_FALSE(AGKeychain::addKeychainItem(itemName, itemKind, eve, QStringLiteral("pw")));
        EXPECT_FALSE(AGKeychain::modifyKeychainItem(itemName, itemKind, eve, QStringLiteral("pw")));
        EXPECT_FALSE(AGKeychain::deleteKeychainItem(itemName, itemKind, eve));
        return;
    }
    // A session without a bus, so without a Secret Service: every call fails instead of waiting.
    QTemporaryDir nowhere;
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QString::fromLatin1(childMarker), QStringLiteral("1"));
    env.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), QStringLiteral("unix:path=") + nowhere.filePath(QStringLiteral("bus")));
    env.remove(QStringLiteral("DISPLAY"));
    child.setProcessEnvironment(env);
    child.setProcessChannelMode(QProcess::MergedChannels);
    diesWithParent(child);
    child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--gtest_filter=AGKeychainWithoutServiceTest.*")});
    // Every operation fails within milliseconds; the limit is generous for a loaded machine but
    // below D-Bus's 25 s reply timeout, so one call left waiting for an answer is caught.
    const bool finished = child.waitForFinished(20000);
    if (!finished)
        child.kill();
    const QString output = QString::fromUtf8(child.readAll());
    EXPECT_TRUE(finished) << "hung\n" << output.toStdString();
    EXPECT_EQ(child.exitCode(), 0) << output.toStdString();
    EXPECT_TRUE(output.contains(QStringLiteral("[  PASSED  ] 1 test"))) << output.toStdString();
}

} // namespace
