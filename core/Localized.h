#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <QVariantList>

// The application's string tables: one key -> text table per language in the resources
// (":/strings/<language>.json"). The language follows the system locale; a key missing from
// that table falls back to English, and a key missing everywhere shows as the key itself.
class Localized
{
public:
    static QString string(const QString &key);
    // The text of a key whose text is a format (%d, %@ ...), filled with the arguments.
    static QString format(const QString &key, const QVariantList &args);

    // Chooses the language explicitly ("en", "es"); an empty name goes back to the system's.
    static void setLanguage(const QString &language);
    static QString language();
    static QStringList availableLanguages();
    // The whole table of a language, as loaded from the resources (empty when there is none).
    static QHash<QString, QString> table(const QString &language);

    Localized() = delete;
};
