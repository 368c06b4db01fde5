#include "core/Localized.h"

#include "core/StringFormat.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocale>
#include <QMutex>
#include <QMutexLocker>

namespace {
struct Tables
{
    QMutex mutex;
    QString language; // empty until chosen
    QHash<QString, QString> chosen;
    QHash<QString, QString> english;
    bool loaded = false;
};

Tables &tables()
{
    static Tables t;
    return t;
}

QString systemLanguage()
{
    const QString name = QLocale::system().name().section(u'_', 0, 0);
    return Localized::availableLanguages().contains(name) ? name : QStringLiteral("en");
}

void ensureLoaded(Tables &t)
{
    if (t.loaded)
        return;
    if (t.language.isEmpty())
        t.language = systemLanguage();
    t.english = Localized::table(QStringLiteral("en"));
    t.chosen = t.language == u"en" ? t.english : Localized::table(t.language);
    t.loaded = true;
}
} // namespace

QHash<QString, QString> Localized::table(const QString &language)
{
    QHash<QString, QString> result;
    QFile file(QStringLiteral(":/strings/%1.json").arg(language));
    if (!file.open(QIODevice::ReadOnly))
        return result;
    const QJsonObject object = QJsonDocument::fromJson(file.readAll()).object();
    for (auto it = object.begin(); it != object.end(); ++it)
        result.insert(it.key(), it.value().toString());
    return result;
}

QStringList Localized::availableLanguages()
{
    QStringList languages;
    const auto entries = QDir(QStringLiteral(":/strings")).entryList({QStringLiteral("*.json")}, QDir::Files, QDir::Name);
    for (const QString &entry : entries)
        languages << entry.section(u'.', 0, 0);
    return languages;
}

QString Localized::string(const QString &key)
{
    Tables &t = tables();
    QMutexLocker lock(&t.mutex);
    ensureLoaded(t);
    auto it = t.chosen.constFind(key);
    if (it != t.chosen.constEnd())
        return *it;
    it = t.english.constFind(key);
    return it != t.english.constEnd() ? *it : key;
}

QString Localized::format(const QString &key, const QVariantList &args)
{
    return StringFormat::format(string(key), args);
}

void Localized::setLanguage(const QString &language)
{
    Tables &t = tables();
    QMutexLocker lock(&t.mutex);
    t.language = language;
    t.loaded = false;
}

QString Localized::language()
{
    Tables &t = tables();
    QMutexLocker lock(&t.mutex);
    ensureLoaded(t);
    return t.language;
}
