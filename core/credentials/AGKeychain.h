#pragma once

#include <QString>

typedef struct _SecretItem SecretItem;

// The service password in the user's keyring, through the Secret Service (GNOME Keyring,
// KWallet). One item per account, identified by three attributes: "label" (the item name),
// "description" (the item kind) and "account" (the user name), each the UTF-8 form of its
// string; the item's display label is the item name. Callers pass "Kelvara" and "password".
//
// Every call blocks its caller until the service has answered. On the main thread it serves
// events meanwhile, so the window stays painted while the desktop asks the user to unlock the
// keyring; a prompt left unanswered for two minutes fails the call. Without a Secret Service
// (none on the desktop, or no session bus) every call fails at once with its log line.
class AGKeychain
{
public:
    // True when at least one item matches.
    static bool checkForExistanceOfKeychainItem(const QString &keychainItemName,
                                                const QString &itemKind,
                                                const QString &username);
    // The password of the first matching item, whole; the empty string when there is none or
    // it cannot be read.
    static QString getPasswordFromKeychainItem(const QString &keychainItemName,
                                               const QString &itemKind,
                                               const QString &username);
    // Stores a new item in the default keyring. The service keeps one item per set of
    // attributes, so adding over an existing item replaces its password.
    static bool addKeychainItem(const QString &keychainItemName, const QString &itemKind,
                                const QString &username, const QString &password);
    // Replaces the password of the first matching item; false when none matches.
    static bool modifyKeychainItem(const QString &keychainItemName, const QString &itemKind,
                                   const QString &username, const QString &newPassword);
    // Deletes the last matching item; true when that worked or nothing matched.
    static bool deleteKeychainItem(const QString &keychainItemName, const QString &itemKind,
                                   const QString &username);
    // The password stored in the item; the empty string when it cannot be read.
    static QString getPasswordFromSecKeychainItemRef(SecretItem *item);

    AGKeychain() = delete;
};
