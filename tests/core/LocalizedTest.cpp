#include "core/Localized.h"
#include "core/SettingsKeys.h"

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

TEST(LocalizedTest, EveryKeyUsedInTheCodeHasATextInEachLanguage)
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
}
