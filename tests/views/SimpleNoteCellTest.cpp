#include "core/store/MyTag.h"
#include "tests/support/FixedClock.h"
#include "tests/support/ViewTest.h"
#include "ui/SimpleNoteCell.h"

namespace {
const QDateTime now(QDate(2026, 12, 6), QTime(12, 0), QTimeZone::utc());

MySimpleNote dueIn(qint64 seconds, bool completed = false)
{
    MySimpleNote note;
    note.title = QStringLiteral("Renew the passport");
    note.dueDated = now.addSecs(seconds);
    note.completed = completed;
    return note;
}

using SimpleNoteCellTest = ViewTest;
} // namespace

TEST_F(SimpleNoteCellTest, TheBallFollowsTheDueDateAndTheTextsShowOnlyLiveTags)
{
    FixedClock clock("UTC");
    clock.set(now);
    const struct
    {
        qint64 seconds;
        bool completed;
        const char *ball;
    } cases[] = {{86400, false, "yellow_ball"}, {86401, false, "green_ball"}, {-86401, false, "purple_ball"},
                 {432001, false, "blue_ball"}, {-864000, true, "notes_done"}};
    for (const auto &c : cases)
        EXPECT_EQ(SimpleNoteCell::status(dueIn(c.seconds, c.completed), now).ballImage, QLatin1String(c.ball)) << c.seconds << " s";

    // Creation dates are kept in milliseconds.
    MySimpleNote note;
    note.created = 86'399'999;
    EXPECT_EQ(SimpleNoteCell::creationText(note), SimpleNoteCell::longDate(QDate(1970, 1, 1)));
    MyTag *old = store.tag(QStringLiteral("old"));
    old->setDeleted(true);
    note.tags = {store.tag(QStringLiteral("home")), old, store.tag(QStringLiteral("work"))};
    EXPECT_EQ(SimpleNoteCell::tagText(note), QStringLiteral("home, work"));
}
