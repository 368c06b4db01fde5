#pragma once

#include "core/credentials/LibSecret.h"
#include "core/credentials/SecretConnection.h"

#include <QString>

// The keyring items whose three attributes equal an item name, item kind and user name, each
// compared as its UTF-8 form. The search is done on construction.
class SecretMatches
{
public:
    SecretMatches(const QString &itemName, const QString &itemKind, const QString &username,
                  SecretSearchFlags flags, GCancellable *cancellable);
    ~SecretMatches();
    SecretMatches(const SecretMatches &) = delete;
    SecretMatches &operator=(const SecretMatches &) = delete;

    // The items are owned by this object and live as long as it does.
    int count() const;
    SecretItem *first() const;
    SecretItem *last() const;
    // Set when the service could not be reached or the search failed.
    const GError *error() const;

    // The schema every item is written with. Only the three attributes are matched, whoever
    // stored the item: one made by hand with secret-tool or Seahorse is found as well.
    static const SecretSchema *schema();
    // A new table of the three attributes, for a search or a new item.
    static GHashTable *attributes(const QString &itemName, const QString &itemKind,
                                  const QString &username);

private:
    SecretConnection m_connection;
    GList *m_items = nullptr;
    GError *m_error = nullptr;
};
