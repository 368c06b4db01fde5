#include "core/Localized.h"
#include "app/ShowTasksFinishController.h"
#include "app/ShowTasksLaunchController.h"
#include "tests/today/PanelCloser.h"
#include "ui_ShowTasksFinish.h"
#include "ui_ShowTasksLaunch.h"

#include <QLabel>
#include <QPushButton>

#include <gtest/gtest.h>

namespace {
QString text(const char *key)
{
    return Localized::string(QLatin1String(key));
}
} // namespace

TEST(ReminderPanelsTest, EveryPhraseKeyHasItsTextInBothLanguages)
{
    const auto english = Localized::table(QStringLiteral("en"));
    const auto spanish = Localized::table(QStringLiteral("es"));
    for (const char *key : {"NOTASKSTODAY", "ONETASKTODAY", "TASKSTODAY", "NOTASKSOVERDUE", "ONETASKOVERDUE",
                            "TASKSOVERDUE", "NOTASKSTOMORROW", "ONETASKTOMORROW", "TASKSTOMORROW"}) {
        EXPECT_FALSE(english.value(QLatin1String(key)).isEmpty()) << key;
        EXPECT_FALSE(spanish.value(QLatin1String(key)).isEmpty()) << key;
    }
}

TEST(ReminderPanelsTest, TheLaunchPanelTellsNoneOneAndManyAndClosesWithItsButton)
{
    Localized::setLanguage(QStringLiteral("en"));
    const QRect frame(100, 200, 800, 600);
    {
        ShowTasksLaunchController panel(frame, 1, 0);
        EXPECT_EQ(panel.pos(), QPoint(100 + 400 - panel.width() / 2, 200 + 300 - panel.height() / 2));
        const auto seen = PanelCloser::closeNext<ShowTasksLaunchController>([&](ShowTasksLaunchController *shown) {
            EXPECT_EQ(shown, &panel);
            EXPECT_TRUE(shown->isModal());
            Ui::ShowTasksLaunch &ui = shown->ui();
            EXPECT_EQ(ui.headLabel->text(), text("YOUHAVE"));
            EXPECT_EQ(ui.todayDescLabel->text(), text("ONETASKTODAY"));
            EXPECT_EQ(ui.andLabel->text(), text("AND"));
            EXPECT_EQ(ui.overdueDescLabel->text(), text("NOTASKSOVERDUE"));
            EXPECT_EQ(ui.button->text(), text("LETSGO"));
        });
        panel.showWindowModal();
        EXPECT_TRUE(*seen);
        EXPECT_FALSE(panel.isVisible());
    }
    ShowTasksLaunchController panel(frame, 0, 1);
    panel.setTasksForToday(12);
    panel.setTasksOverdue(2);
    PanelCloser::closeNext<ShowTasksLaunchController>([](ShowTasksLaunchController *shown) {
        EXPECT_EQ(shown->ui().todayDescLabel->text(), QStringLiteral("12 tasks due today"));
        EXPECT_EQ(shown->ui().overdueDescLabel->text(), QStringLiteral("2 overdue tasks"));
    });
    panel.showWindowModal();
    Localized::setLanguage(QString());
}

TEST(ReminderPanelsTest, TheQuitPanelAddsTomorrowAfterASecondAnd)
{
    Localized::setLanguage(QStringLiteral("es"));
    ShowTasksFinishController panel(QRect(), 0, 1, 7);
    EXPECT_EQ(panel.tasksForTomorrow(), 7);
    const auto seen = PanelCloser::closeNext<ShowTasksFinishController>([](ShowTasksFinishController *shown) {
        Ui::ShowTasksFinish &ui = shown->ui();
        EXPECT_EQ(ui.todayDescLabel->text(), text("NOTASKSTODAY"));
        EXPECT_EQ(ui.overdueDescLabel->text(), text("ONETASKOVERDUE"));
        EXPECT_EQ(ui.secondAndLabel->text(), text("AND"));
        EXPECT_EQ(ui.tomorrowDescLabel->text(), QStringLiteral("7 tareas para mañana"));
        EXPECT_EQ(ui.button->text(), text("SEESOON"));
    });
    panel.showWindowModal();
    EXPECT_TRUE(*seen);
    Localized::setLanguage(QString());
}
