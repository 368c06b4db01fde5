#include "core/Localized.h"

#include <gtest/gtest.h>

// The panels' phrases are looked up by keys put together at run time: none is missing a language.
TEST(ReminderPanelsTest, EveryPhraseOfThePanelsHasEveryLanguage)
{
    for (const char *language : {"en", "es"}) {
        const auto table = Localized::table(QLatin1String(language));
        for (const char *day : {"TODAY", "OVERDUE", "TOMORROW"}) {
            for (const char *form : {"NOTASKS", "ONETASK", "TASKS"})
                EXPECT_FALSE(table.value(QLatin1String(form) + QLatin1String(day)).isEmpty()) << language << form << day;
        }
    }
}
