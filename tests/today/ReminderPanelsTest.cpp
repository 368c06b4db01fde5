#include "app/ShowTasksFinishController.h"
#include "app/ShowTasksLaunchController.h"
#include "core/Localized.h"
#include "tests/today/PanelCloser.h"
#include "ui_ShowTasksFinish.h"
#include "ui_ShowTasksLaunch.h"

#include <QLabel>

#include <gtest/gtest.h>

TEST(ReminderPanelsTest, ThePanelsSayNoneOneOrManyInTheirPhrasesAndCloseWithTheirButton)
{
    // The phrases are looked up by keys put together at run time: none is missing a language.
    const auto english = Localized::table(QStringLiteral("en"));
    const auto spanish = Localized::table(QStringLiteral("es"));
    for (const char *day : {"TODAY", "OVERDUE", "TOMORROW"}) {
        for (const char *form : {"NOTASKS", "ONETASK", "TASKS"}) {
            const QString key = QLatin1String(form) + QLatin1String(day);
            EXPECT_FALSE(english.value(key).isEmpty()) << key.toStdString();
            EXPECT_FALSE(spanish.value(key).isEmpty()) << key.toStdString();
        }
    }

    Localized::setLanguage(QStringLiteral("en"));
    const QRect frame(100, 200, 800, 600);
    ShowTasksLaunchController launch(frame, 1, 0);
    EXPECT_EQ(launch.pos(), QPoint(100 + 400 - launch.width() / 2, 200 + 300 - launch.height() / 2))
        << "centred on the window";
    const auto seen = closeNextPanel<ShowTasksLaunchController>([&](ShowTasksLaunchController *shown) {
        EXPECT_EQ(shown, &launch);
        EXPECT_TRUE(shown->isModal());
        EXPECT_EQ(shown->ui().todayDescLabel->text(), Localized::string(QStringLiteral("ONETASKTODAY")));
        EXPECT_EQ(shown->ui().overdueDescLabel->text(), Localized::string(QStringLiteral("NOTASKSOVERDUE")));
    });
    launch.showWindowModal();
    EXPECT_TRUE(*seen);
    EXPECT_FALSE(launch.isVisible());

    ShowTasksFinishController quit(QRect(), 12, 2, 7);
    closeNextPanel<ShowTasksFinishController>([](ShowTasksFinishController *shown) {
        EXPECT_EQ(shown->ui().todayDescLabel->text(), QStringLiteral("12 tasks due today"));
        EXPECT_EQ(shown->ui().overdueDescLabel->text(), QStringLiteral("2 overdue tasks"));
        EXPECT_EQ(shown->ui().tomorrowDescLabel->text(), QStringLiteral("7 tasks due tomorrow"));
    });
    quit.showWindowModal();
    Localized::setLanguage(QString());
}
