#include "core/store/MyTag.h"
#include "tests/support/FixedClock.h"
#include "tests/support/ViewTest.h"
#include "ui/SimpleNoteCell.h"
#include "ui/SimpleNoteCellWithNotebook.h"

#include <QImage>
#include <QPainter>

namespace {
const QDateTime now(QDate(2026, 12, 6), QTime(12, 0), QTimeZone::utc());
const QColor yellow = QColor::fromRgbF(0.9f, 0.802f, 0.155f);

MySimpleNote dueIn(qint64 seconds, bool completed = false)
{
    MySimpleNote note;
    note.title = QStringLiteral("Renew the passport before the summer holidays");
    note.dueDated = now.addSecs(seconds);
    note.completed = completed;
    return note;
}

bool hasColor(const QImage &image, const QColor &color)
{
    const auto near = [](int a, int b) { return std::abs(a - b) <= 2; };
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (near(c.red(), color.red()) && near(c.green(), color.green()) && near(c.blue(), color.blue()))
                return true;
        }
    }
    return false;
}

// The card drawn `width` wide on a wider white image.
QImage render(const SimpleNoteCell &cell, const MySimpleNote &note, bool selected, int width = 420)
{
    QImage image(460, 90, QImage::Format_ARGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    cell.draw(&painter, QRectF(0, 0, width, 70), note, selected);
    return image;
}

using SimpleNoteCellTest = ViewTest;
} // namespace

TEST_F(SimpleNoteCellTest, TheBallLabelAndTextsFollowTheTask)
{
    FixedClock clock("UTC");
    clock.set(now);
    const struct
    {
        qint64 seconds;
        bool completed;
        const char *ball;
    } cases[] = {{86400, false, "yellow_ball"}, {86401, false, "green_ball"}, {-86400, false, "yellow_ball"},
                 {-86401, false, "purple_ball"}, {432000, false, "green_ball"}, {432001, false, "blue_ball"},
                 {-864000, true, "notes_done"}};
    for (const auto &c : cases)
        EXPECT_EQ(SimpleNoteCell::status(dueIn(c.seconds, c.completed), now).ballImage, QLatin1String(c.ball)) << c.seconds << " s";
    MySimpleNote note;
    EXPECT_EQ(SimpleNoteCell::status(note, now).ballImage, QStringLiteral("notes"));

    // Creation dates count whole seconds; tags show only live ones; dates have no weekday.
    note.created = 86'399'999;
    EXPECT_EQ(SimpleNoteCell::creationText(note), SimpleNoteCell::longDate(QDate(1970, 1, 1)));
    MyTag *old = store.tag(QStringLiteral("old"));
    old->setDeleted(true);
    note.tags = {store.tag(QStringLiteral("home")), old, store.tag(QStringLiteral("work"))};
    EXPECT_EQ(SimpleNoteCell::tagText(note), QStringLiteral("home, work"));
    EXPECT_FALSE(SimpleNoteCell::longDate(QDate(2026, 12, 6)).contains(QLocale().dayName(7)));
}

TEST_F(SimpleNoteCellTest, TheCardShowsTheBallSelectionAndTheDueLabelInsideTheCardAtAnyWidth)
{
    FixedClock clock("UTC");
    clock.set(now);
    SimpleNoteCell cell;
    const MySimpleNote soon = dueIn(3600);
    const QImage plain = render(cell, soon, false);
    // The ball sits at the left of the content, on the card's middle line: yellow, not the
    // open task's white circle.
    const QColor ball = plain.pixelColor(20 + 8, 35);
    EXPECT_TRUE(ball.red() > 180 && ball.green() > 140 && ball.blue() < 110) << ball.name().toStdString();
    // Selected, in the blue scheme, the card starts at its darker blue.
    const QColor selectedBlue = QColor::fromRgbF(0.40f, 0.70f, 1.0f);
    EXPECT_TRUE(hasColor(render(cell, soon, true), selectedBlue));
    EXPECT_FALSE(hasColor(plain, selectedBlue));
    EXPECT_FALSE(hasColor(render(cell, dueIn(3600, true), false), yellow)) << "a completed task's label is grey";

    // The notebook cell draws the same card, taller, with the name above the title. In a
    // narrow window the card ends 10 points inside the frame; nothing of the label lies beyond.
    SimpleNoteCellWithNotebook withNotebook;
    EXPECT_GT(withNotebook.sizeHint({}, {}).height(), cell.sizeHint({}, {}).height());
    for (const SimpleNoteCell *drawn : std::initializer_list<const SimpleNoteCell *>{&cell, &withNotebook}) {
        bool labelSeen = false;
        for (int width = 160; width <= 420; width += 20) {
            const QImage image = render(*drawn, soon, false, width);
            EXPECT_FALSE(hasColor(image.copy(width - 10, 0, image.width() - width + 10, image.height()), yellow))
                << "width " << width;
            labelSeen = labelSeen || hasColor(image, yellow);
        }
        EXPECT_TRUE(labelSeen) << "where it fits, the label is drawn";
    }
}
