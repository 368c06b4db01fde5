#include "core/Localized.h"
#include "core/SettingsKeys.h"
#include "core/StringFormat.h"

#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QSet>

#include <gtest/gtest.h>

namespace {
// Every key the sources look up, found where they call Localized.
QSet<QString> keysUsedInSources()
{
    QSet<QString> keys;
    static const QRegularExpression call(
        QStringLiteral(R"re(Localized::(?:string|format)\(\s*(?:QStringLiteral\(\s*)?u?"([^"]+)")re"));
    for (const char *layer : {"core", "content", "service", "sync", "ui", "app"}) {
        QDirIterator it(QStringLiteral(KELVARA_SOURCE_DIR "/") + QLatin1String(layer),
                        {QStringLiteral("*.cpp"), QStringLiteral("*.h")}, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            QFile file(it.next());
            if (!file.open(QIODevice::ReadOnly))
                continue;
            const QString text = QString::fromUtf8(file.readAll());
            for (auto m = call.globalMatch(text); m.hasNext();)
                keys.insert(m.next().captured(1));
        }
    }
    for (const auto &interval : SettingsKeys::intervals())
        keys.insert(QString::fromLatin1(interval.menuItemKey));
    return keys;
}
} // namespace

TEST(LocalizedTest, EveryKeyUsedInTheCodeHasAnEnglishTextAndSpanishHasNoStrayKeys)
{
    const auto english = Localized::table(QStringLiteral("en"));
    const auto spanish = Localized::table(QStringLiteral("es"));
    ASSERT_FALSE(english.isEmpty()) << "the English table did not load from the resources";
    const QSet<QString> used = keysUsedInSources();
    EXPECT_TRUE(used.contains(QStringLiteral("MY_NOTEBOOK"))) << "the source scan found nothing";
    for (const QString &key : used) {
        EXPECT_FALSE(english.value(key).isEmpty()) << "no English text for " << key.toStdString();
        EXPECT_TRUE(spanish.contains(key)) << "no Spanish text for " << key.toStdString();
    }
    for (auto it = spanish.begin(); it != spanish.end(); ++it)
        EXPECT_TRUE(english.contains(it.key())) << "Spanish key unknown in English: " << it.key().toStdString();
}

TEST(LocalizedTest, TextsFollowTheLanguageAndFormatsFillPlaceholdersInOrderLeavingMissingOnesVisible)
{
    Localized::setLanguage(QStringLiteral("es"));
    EXPECT_EQ(Localized::string(QStringLiteral("NEW_TASK")), QStringLiteral("Nueva tarea"));
    EXPECT_EQ(Localized::string(QStringLiteral("NO_SUCH_KEY")), QStringLiteral("NO_SUCH_KEY"));
    Localized::setLanguage(QStringLiteral("en"));
    EXPECT_EQ(Localized::string(QStringLiteral("NEW_TASK")), QStringLiteral("New task"));
    Localized::setLanguage(QString());

    const struct { const char *format; QVariantList args; const char *text; } rows[] = {
        {"Note %@ adding %d tags", {QStringLiteral("Buy milk"), 3}, "Note Buy milk adding 3 tags"},
        {"%ld%% of %@", {qint64(50), QStringLiteral("100% done")}, "50% of 100% done"},
        {"%@ and %@", {QStringLiteral("one")}, "one and %@"},
        {"%@:%s unable", {QStringLiteral("A"), QStringLiteral("b")}, "A:b unable"},
        {"%@", {QVariant()}, "(null)"},
    };
    for (const auto &row : rows)
        EXPECT_EQ(StringFormat::format(QString::fromUtf8(row.format), row.args), QString::fromUtf8(row.text)) << row.format;
}
