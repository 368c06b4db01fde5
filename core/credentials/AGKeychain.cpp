#include "core/credentials/AGKeychain.h"

#include "core/Log.h"
#include "core/credentials/LibSecret.h"
#include "core/credentials/SecretCall.h"
#include "core/credentials/SecretConnection.h"
#include "core/credentials/SecretMatches.h"

#include <memory>

namespace {

using ErrorPtr = std::unique_ptr<GError, decltype(&g_error_free)>;
using ValuePtr = std::unique_ptr<SecretValue, decltype(&secret_value_unref)>;

ErrorPtr failure(int code, const char *message)
{
    return ErrorPtr(g_error_new_literal(SECRET_ERROR, code, message), &g_error_free);
}

// The logger ends each line itself, so the texts' own line ends are dropped.
QString lineFormat(const char *format)
{
    QString text = QString::fromUtf8(format);
    if (text.endsWith(u'\n'))
        text.chop(1);
    return text;
}

// The failure lines keep their fixed texts with a status code where a number stood. A GError's
// code means little without its domain, so its message follows the code in parentheses.
QString failureFormat(const char *format)
{
    QString text = lineFormat(format);
    text.replace(QStringLiteral("%d"), QStringLiteral("%d (%@)"));
    return text;
}

QVariantList failureArguments(const GError *error)
{
    QString message = QString::fromUtf8(error->message);
    message.replace(u'\n', u' ');
    return {error->code, message};
}

void logFailure(const char *format, const GError *error)
{
    Log::line(failureFormat(format), failureArguments(error));
}

ValuePtr passwordValue(const QString &password)
{
    const QByteArray bytes = password.toUtf8();
    return ValuePtr(secret_value_new(bytes.constData(), bytes.size(), "text/plain"),
                    &secret_value_unref);
}

// Reads the whole password: a password cut short is a wrong password, and a cut may fall
// inside a character.
QString readPassword(SecretItem *item, GCancellable *cancellable)
{
    ErrorPtr error(nullptr, &g_error_free);
    if (!item) {
        error = failure(SECRET_ERROR_NO_SUCH_OBJECT, "No item was given");
    } else {
        GError *loadError = nullptr;
        if (secret_item_load_secret_sync(item, cancellable, &loadError)) {
            if (const ValuePtr value{secret_item_get_secret(item), &secret_value_unref}) {
                gsize length = 0;
                const gchar *bytes = secret_value_get(value.get(), &length);
                return QString::fromUtf8(bytes, qsizetype(length));
            }
            error = secret_item_get_locked(item)
                        ? failure(SECRET_ERROR_IS_LOCKED, "The item is locked")
                        : failure(SECRET_ERROR_PROTOCOL, "The service sent no password");
        } else {
            error.reset(loadError);
        }
    }
    // A failed read answers like a missing item. Handing back an error text instead would
    // have it held and sent to the service as the password.
    Log::toStandardOutput(failureFormat("Error = %d\n"), failureArguments(error.get()));
    return QString();
}

bool countMatches(const QString &itemName, const QString &itemKind, const QString &username,
                  GCancellable *cancellable)
{
    // Counting needs no secret, so a locked keyring is searched as it is, without a prompt.
    const SecretMatches matches(itemName, itemKind, username, SECRET_SEARCH_ALL, cancellable);
    if (matches.error()) {
        logFailure("status %d from SecKeychainSearchCreateFromAttributes\n", matches.error());
        return false;
    }
    Log::line(lineFormat("%d items found\n"), {matches.count()});
    return matches.count() != 0;
}

QString passwordOfFirstMatch(const QString &itemName, const QString &itemKind,
                             const QString &username, GCancellable *cancellable)
{
    const SecretMatches matches(itemName, itemKind, username, SECRET_SEARCH_UNLOCK, cancellable);
    if (matches.error()) {
        logFailure("status %d from SecKeychainSearchCreateFromAttributes\n", matches.error());
        return QString();
    }
    if (!matches.first())
        return QString();
    return readPassword(matches.first(), cancellable);
}

bool storeItem(const QString &itemName, const QString &itemKind, const QString &username,
               const QString &password, GCancellable *cancellable)
{
    const SecretConnection connection(cancellable);
    if (connection.error()) {
        logFailure("Error creating new item: %d\n", connection.error());
        return false;
    }
    GError *error = nullptr;
    GHashTable *attributes = SecretMatches::attributes(itemName, itemKind, username);
    const ValuePtr value = passwordValue(password);
    // No collection named: the default keyring (libsecret asks the desktop to create one when
    // there is none).
    secret_service_store_sync(connection.service(), SecretMatches::schema(), attributes,
                              nullptr, itemName.toUtf8().constData(), value.get(), cancellable,
                              &error);
    g_hash_table_unref(attributes);
    if (error) {
        const ErrorPtr owned(error, &g_error_free);
        logFailure("Error creating new item: %d\n", error);
        return false;
    }
    return true;
}

bool replacePassword(const QString &itemName, const QString &itemKind, const QString &username,
                     const QString &newPassword, GCancellable *cancellable)
{
    const SecretMatches matches(itemName, itemKind, username, SECRET_SEARCH_UNLOCK, cancellable);
    if (matches.error()) {
        logFailure("Error modifying item: %d", matches.error());
        return false;
    }
    if (!matches.first()) {
        logFailure("Error modifying item: %d",
                   failure(SECRET_ERROR_NO_SUCH_OBJECT, "No matching item").get());
        return false;
    }
    GError *error = nullptr;
    const ValuePtr value = passwordValue(newPassword);
    if (!secret_item_set_secret_sync(matches.first(), value.get(), cancellable, &error)) {
        const ErrorPtr owned(error, &g_error_free);
        logFailure("Error modifying item: %d", error);
        return false;
    }
    return true;
}

bool deleteLastMatch(const QString &itemName, const QString &itemKind, const QString &username,
                     GCancellable *cancellable)
{
    const SecretMatches matches(itemName, itemKind, username,
                                SecretSearchFlags(SECRET_SEARCH_ALL | SECRET_SEARCH_UNLOCK),
                                cancellable);
    if (matches.error()) {
        logFailure("Error deleting item: %d\n", matches.error());
        return false;
    }
    if (!matches.last())
        return true;
    GError *error = nullptr;
    if (!secret_item_delete_sync(matches.last(), cancellable, &error)) {
        const ErrorPtr owned(error, &g_error_free);
        logFailure("Error deleting item: %d\n", error);
        return false;
    }
    return true;
}

} // namespace

bool AGKeychain::checkForExistanceOfKeychainItem(const QString &keychainItemName,
                                                 const QString &itemKind,
                                                 const QString &username)
{
    bool found = false;
    SecretCall::run([&](GCancellable *cancellable) {
        found = countMatches(keychainItemName, itemKind, username, cancellable);
    });
    return found;
}

QString AGKeychain::getPasswordFromKeychainItem(const QString &keychainItemName,
                                                const QString &itemKind,
                                                const QString &username)
{
    QString password;
    SecretCall::run([&](GCancellable *cancellable) {
        password = passwordOfFirstMatch(keychainItemName, itemKind, username, cancellable);
    });
    return password;
}

bool AGKeychain::addKeychainItem(const QString &keychainItemName, const QString &itemKind,
                                 const QString &username, const QString &password)
{
    bool added = false;
    SecretCall::run([&](GCancellable *cancellable) {
        added = storeItem(keychainItemName, itemKind, username, password, cancellable);
    });
    return added;
}

bool AGKeychain::modifyKeychainItem(const QString &keychainItemName, const QString &itemKind,
                                    const QString &username, const QString &newPassword)
{
    bool modified = false;
    SecretCall::run([&](GCancellable *cancellable) {
        modified = replacePassword(keychainItemName, itemKind, username, newPassword,
                                   cancellable);
    });
    return modified;
}

bool AGKeychain::deleteKeychainItem(const QString &keychainItemName, const QString &itemKind,
                                    const QString &username)
{
    bool deleted = false;
    SecretCall::run([&](GCancellable *cancellable) {
        deleted = deleteLastMatch(keychainItemName, itemKind, username, cancellable);
    });
    return deleted;
}

QString AGKeychain::getPasswordFromSecKeychainItemRef(SecretItem *item)
{
    QString password;
    SecretCall::run(
        [&](GCancellable *cancellable) { password = readPassword(item, cancellable); });
    return password;
}
