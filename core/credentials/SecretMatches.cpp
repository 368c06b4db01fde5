#include "core/credentials/SecretMatches.h"

SecretMatches::SecretMatches(const QString &itemName, const QString &itemKind,
                             const QString &username, SecretSearchFlags flags,
                             GCancellable *cancellable)
    : m_connection(cancellable)
{
    if (!m_connection.service())
        return;
    GHashTable *table = attributes(itemName, itemKind, username);
    m_items = secret_service_search_sync(m_connection.service(), schema(), table, flags,
                                         cancellable, &m_error);
    g_hash_table_unref(table);
}

SecretMatches::~SecretMatches()
{
    g_list_free_full(m_items, g_object_unref);
    if (m_error)
        g_error_free(m_error);
}

int SecretMatches::count() const
{
    return int(g_list_length(m_items));
}

SecretItem *SecretMatches::first() const
{
    return m_items ? SECRET_ITEM(m_items->data) : nullptr;
}

SecretItem *SecretMatches::last() const
{
    return m_items ? SECRET_ITEM(g_list_last(m_items)->data) : nullptr;
}

const GError *SecretMatches::error() const
{
    return m_connection.error() ? m_connection.error() : m_error;
}

const SecretSchema *SecretMatches::schema()
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

GHashTable *SecretMatches::attributes(const QString &itemName, const QString &itemKind,
                                      const QString &username)
{
    GHashTable *table = g_hash_table_new_full(g_str_hash, g_str_equal, g_free, g_free);
    g_hash_table_insert(table, g_strdup("label"), g_strdup(itemName.toUtf8().constData()));
    g_hash_table_insert(table, g_strdup("description"), g_strdup(itemKind.toUtf8().constData()));
    g_hash_table_insert(table, g_strdup("account"), g_strdup(username.toUtf8().constData()));
    return table;
}
