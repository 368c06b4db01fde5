#include "core/Clock.h"
#include "core/Defaults.h"
#include "core/SettingsKeys.h"
#include "core/store/MyNote.h"
#include "core/store/MyTag.h"
#include "tests/support/TempStore.h"
#include "ui/SimpleNoteCell.h"
#include "ui/SimpleNoteCellWithNotebook.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

namespace {
const QDateTime now(QDate(2026, 12, 6), QTime(12, 0), QTimeZone::utc());

MySimpleNote dueIn(qint64 seconds)
{
    MySimpleNote note;
    note.title = QStringLiteral("Call Ana");
    note.dueDated = now.addSecs(seconds);
    return note;
}

bool hasColor(const QImage &image, const QColor &color)
{
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (std::abs(c.red() - color.red()) <= 2 && std::abs(c.green() - color.green()) <= 2
                && std::abs(c.blue() - color.blue()) <= 2)
                return true;
        }
    }
    return false;
}

QImage render(const SimpleNoteCell &cell, const MySimpleNote &note, bool selected)
{
    QImage image(420, 70, QImage::Format_ARGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    cell.draw(&painter, QRectF(0, 0, 420, 70), note, selected);
    return image;
}
} // namespace

TEST(SimpleNoteCellTest, TheBallAndLabelFollowHowNearTheDueDateIs)
{
    const QColor yellow = QColor::fromRgbF(0.9f, 0.802f, 0.155f);
    EXPECT_EQ(SimpleNoteCell::status(dueIn(23 * 3600), now).ballImage, QStringLiteral("yellow_ball"));
    EXPECT_EQ(SimpleNoteCell::status(dueIn(-23 * 3600), now).labelColor, yellow);
    EXPECT_EQ(SimpleNoteCell::status(dueIn(-86400), now).ballImage, QStringLiteral("yellow_ball"));
    EXPECT_EQ(SimpleNoteCell::status(dueIn(-86401), now).ballImage, QStringLiteral("purple_ball"));
    EXPECT_EQ(SimpleNoteCell::status(dueIn(-25 * 3600), now).ballImage, QStringLiteral("purple_ball"));
    EXPECT_EQ(SimpleNoteCell::status(dueIn(432000), now).ballImage, QStringLiteral("green_ball"));
    EXPECT_EQ(SimpleNoteCell::status(dueIn(432001), now).ballImage, QStringLiteral("blue_ball"));

    MySimpleNote done = dueIn(-10 * 86400);
    done.completed = true;
    EXPECT_EQ(SimpleNoteCell::status(done, now).ballImage, QStringLiteral("notes_done"));
    EXPECT_EQ(SimpleNoteCell::status(done, now).labelColor, QColor::fromRgbF(0.8f, 0.8f, 0.8f));
    MySimpleNote undated;
    EXPECT_EQ(SimpleNoteCell::status(undated, now).ballImage, QStringLiteral("notes"));
    EXPECT_TRUE(SimpleNoteCell::dueText(undated).isEmpty());
}

TEST(SimpleNoteCellTest, TextsShowWholeSecondsAndOnlyLiveTags)
{
    Clock::setTimeZone(QTimeZone::utc());
    TempStore store;
    MyTag *home = store.tag(QStringLiteral("home"));
    MyTag *work = store.tag(QStringLiteral("work"));
    MyTag *old = store.tag(QStringLiteral("old"));
    old->setDeleted(true);
    MySimpleNote note;
    note.created = 1500;
    EXPECT_EQ(SimpleNoteCell::creationText(note), SimpleNoteCell::longDate(QDate(1970, 1, 1)));
    note.created = 86'399'999;
    EXPECT_EQ(SimpleNoteCell::creationText(note), SimpleNoteCell::longDate(QDate(1970, 1, 1)));
    note.tags = {home, old, work};
    EXPECT_EQ(SimpleNoteCell::tagText(note), QStringLiteral("home, work"));
    note.tags = {old};
    EXPECT_EQ(SimpleNoteCell::tagText(note), QString());
    EXPECT_FALSE(SimpleNoteCell::longDate(QDate(2026, 12, 6)).contains(QLocale().dayName(7))) << "no weekday";
    Clock::setTimeZone(QTimeZone());
}

TEST(SimpleNoteCellTest, TheCardShowsSelectionColoursAndTheDueLabel)
{
    Clock::setSource([] { return now; });
    Defaults::standardUserDefaults().registerDefaults(SettingsKeys::registeredDefaults());
    SimpleNoteCell cell;
    const MySimpleNote soon = dueIn(3600);
    const QColor yellow = QColor::fromRgbF(0.9f, 0.802f, 0.155f);
    const QImage plain = render(cell, soon, false);
    EXPECT_TRUE(hasColor(plain, yellow)) << "the due label is filled with the status colour";
    // The ball sits at the left of the content, on the card's middle line: yellow, not the
    // open task's white circle.
    const QColor ball = plain.pixelColor(20 + 8, 35);
    EXPECT_GT(ball.red(), 180);
    EXPECT_GT(ball.green(), 140);
    EXPECT_LT(ball.blue(), 110);

    // Selected, in the blue scheme, the card starts at its darker blue.
    const QImage selected = render(cell, soon, true);
    EXPECT_TRUE(hasColor(selected, QColor::fromRgbF(0.391f, 0.691f, 1.0f).lighter(101)) ||
                hasColor(selected, QColor::fromRgbF(0.40f, 0.70f, 1.0f)));
    EXPECT_FALSE(hasColor(plain, QColor::fromRgbF(0.391f, 0.691f, 1.0f)));

    MySimpleNote done = soon;
    done.completed = true;
    const QImage completed = render(cell, done, false);
    EXPECT_FALSE(hasColor(completed, yellow)) << "a completed task's label is grey";

    // The notebook cell draws the same card, taller, with the name above the title.
    SimpleNoteCellWithNotebook withNotebook;
    EXPECT_GT(withNotebook.sizeHint({}, {}).height(), cell.sizeHint({}, {}).height());
    Clock::setSource({});
}

TEST(SimpleNoteCellTest, InANarrowWindowTheDueLabelStaysOnTheCard)
{
    Clock::setSource([] { return now; });
    Defaults::standardUserDefaults().registerDefaults(SettingsKeys::registeredDefaults());
    const QColor yellow = QColor::fromRgbF(0.9f, 0.802f, 0.155f);
    MySimpleNote note = dueIn(3600);
    note.title = QStringLiteral("Renew the passport before the summer holidays");
    SimpleNoteCell plain;
    SimpleNoteCellWithNotebook today;
    for (const SimpleNoteCell *cell : std::initializer_list<const SimpleNoteCell *>{&plain, &today}) {
        bool labelSeen = false;
        for (int width = 160; width <= 420; width += 20) {
            QImage image(460, 90, QImage::Format_ARGB32);
            image.fill(Qt::white);
            {
                QPainter painter(&image);
                cell->draw(&painter, QRectF(0, 0, width, 90), note, false);
            }
            // The card ends 10 points inside the frame; nothing of the label lies beyond it.
            const QImage outside = image.copy(width - 10, 0, image.width() - width + 10, image.height());
            EXPECT_FALSE(hasColor(outside, yellow)) << "width " << width;
            labelSeen = labelSeen || hasColor(image, yellow);
        }
        EXPECT_TRUE(labelSeen) << "where it fits, the label is drawn";
    }
    Clock::setSource({});
}
