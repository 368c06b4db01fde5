#include "core/credentials/AGKeychain.h"

#include "core/Log.h"
#include "core/credentials/SecretCall.h"

// Qt defines "signals" as a keyword; GLib uses it as a field name.
#pragma push_macro("signals")
#undef signals
#include <libsecret/secret.h>
#pragma pop_macro("signals")

#include <memory>

namespace {

struct GErrorFree
{
    void operator()(GError *error) const { g_error_free(error); }
};
using ErrorPtr = std::unique_ptr<GError, GErrorFree>;

struct GObjectUnref
{
    void operator()(gpointer object) const { g_object_unref(object); }
};
using ServicePtr = std::unique_ptr<SecretService, GObjectUnref>;

struct SecretValueUnref
{
    void operator()(SecretValue *value) const { secret_value_unref(value); }
};
using ValuePtr = std::unique_ptr<SecretValue, SecretValueUnref>;

// The three attributes alone identify an item, whoever stored it: an item made by hand with
// secret-tool or Seahorse is found as well, so the schema's name is written but not matched.
const SecretSchema *schema()
{
    static const SecretSchema instance = [] {
        SecretSchema s{};
        s.name = "org.kelvara.GenericPassword";
        s.flags = SECRET_SCHEMA_DONT_MATCH_NAME;
        s.attributes[0] = {"label", SECRET_SCHEMA_ATTRIBUTE_STRING};
        s.attributes[1] = {"description", SECRET_SCHEMA_ATTRIBUTE_STRING};
        s.attributes[2] = {"account", SECRET_SCHEMA_ATTRIBUTE_STRING};
        return s;
    }();
    return &instance;
}

GHashTable *attributesFor(const QString &itemName, const QString &itemKind,
                          const QString &username)
{
    GHashTable *attributes = g_hash_table_new_full(g_str_hash, g_str_equal, g_free, g_free);
    g_hash_table_insert(attributes, g_strdup("label"), g_strdup(itemName.toUtf8().constData()));
    g_hash_table_insert(attributes, g_strdup("description"),
                        g_strdup(itemKind.toUtf8().constData()));
    g_hash_table_insert(attributes, g_strdup("account"), g_strdup(username.toUtf8().constData()));
    return attributes;
}

ErrorPtr failure(int code, const char *message)
{
    return ErrorPtr(g_error_new_literal(SECRET_ERROR, code, message));
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

// The items matching the three attributes, with the service connection they were found on.
class Matches
{
public:
    Matches(const QString &itemName, const QString &itemKind, const QString &username,
            SecretSearchFlags flags, GCancellable *cancellable)
    {
        GError *error = nullptr;
        // A connection of its own per call: libsecret's shared one would stay tied to the
        // thread that happened to create it.
        m_service.reset(secret_service_open_sync(SECRET_TYPE_SERVICE, nullptr,
                                                 SECRET_SERVICE_OPEN_SESSION, cancellable,
                                                 &error));
        if (!m_service) {
            m_error.reset(error);
            return;
        }
        GHashTable *attributes = attributesFor(itemName, itemKind, username);
        m_items = secret_service_search_sync(m_service.get(), schema(), attributes, flags,
                                             cancellable, &error);
        g_hash_table_unref(attributes);
        m_error.reset(error);
    }
    ~Matches() { g_list_free_full(m_items, g_object_unref); }
    Matches(const Matches &) = delete;
    Matches &operator=(const Matches &) = delete;

    const GError *error() const { return m_error.get(); }
    int count() const { return int(g_list_length(m_items)); }
    SecretItem *first() const { return m_items ? SECRET_ITEM(m_items->data) : nullptr; }
    SecretItem *last() const { return m_items ? SECRET_ITEM(g_list_last(m_items)->data) : nullptr; }

private:
    ServicePtr m_service;
    GList *m_items = nullptr;
    ErrorPtr m_error;
};

ValuePtr passwordValue(const QString &password)
{
    const QByteArray bytes = password.toUtf8();
    return ValuePtr(secret_value_new(bytes.constData(), bytes.size(), "text/plain"));
}

// Reads the whole password: a password cut short is a wrong password, and a cut may fall
// inside a character.
QString readPassword(SecretItem *item, GCancellable *cancellable)
{
    ErrorPtr error;
    if (!item) {
        error = failure(SECRET_ERROR_NO_SUCH_OBJECT, "No item was given");
    } else {
        GError *loadError = nullptr;
        if (secret_item_load_secret_sync(item, cancellable, &loadError)) {
            if (ValuePtr value{secret_item_get_secret(item)}) {
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
    const Matches matches(itemName, itemKind, username, SECRET_SEARCH_ALL, cancellable);
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
    const Matches matches(itemName, itemKind, username, SECRET_SEARCH_UNLOCK, cancellable);
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
    GError *error = nullptr;
    const ServicePtr service(secret_service_open_sync(SECRET_TYPE_SERVICE, nullptr,
                                                      SECRET_SERVICE_OPEN_SESSION, cancellable,
                                                      &error));
    if (service) {
        GHashTable *attributes = attributesFor(itemName, itemKind, username);
        const ValuePtr value = passwordValue(password);
        // No collection named: the default keyring (libsecret asks the desktop to create one
        // when there is none).
        secret_service_store_sync(service.get(), schema(), attributes, nullptr,
                                  itemName.toUtf8().constData(), value.get(), cancellable,
                                  &error);
        g_hash_table_unref(attributes);
    }
    if (error) {
        const ErrorPtr owned(error);
        logFailure("Error creating new item: %d\n", error);
        return false;
    }
    return true;
}

bool replacePassword(const QString &itemName, const QString &itemKind, const QString &username,
                     const QString &newPassword, GCancellable *cancellable)
{
    const Matches matches(itemName, itemKind, username, SECRET_SEARCH_UNLOCK, cancellable);
    ErrorPtr error;
    if (matches.error()) {
        logFailure("Error modifying item: %d", matches.error());
        return false;
    }
    if (!matches.first()) {
        error = failure(SECRET_ERROR_NO_SUCH_OBJECT, "No matching item");
    } else {
        GError *setError = nullptr;
        const ValuePtr value = passwordValue(newPassword);
        if (!secret_item_set_secret_sync(matches.first(), value.get(), cancellable, &setError))
            error.reset(setError);
    }
    if (error) {
        logFailure("Error modifying item: %d", error.get());
        return false;
    }
    return true;
}

bool deleteLastMatch(const QString &itemName, const QString &itemKind, const QString &username,
                     GCancellable *cancellable)
{
    const Matches matches(itemName, itemKind, username,
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
        const ErrorPtr owned(error);
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
