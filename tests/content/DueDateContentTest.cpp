#include "ContentTest.h"

#include "content/DueDateContent.h"

using DueDateContentTest = ContentTest;

TEST_F(DueDateContentTest, WritesThePatternOfTheSystemCountryAndReadsEitherWhateverTheLocale)
{
    // 23:30 UTC on the 4th is already the 5th in Madrid.
    const QDateTime due(QDate(2011, 3, 4), QTime(23, 30), QTimeZone::utc());
    const std::pair<QLocale, const char *> cases[] = {
        {QLocale(QLocale::English, QLocale::UnitedStates), "2011-03-05"},
        {QLocale(QLocale::English, QLocale::UnitedKingdom), "05-03-2011"},
        {QLocale::c(), "05-03-2011"},
    };
    QStringList written;
    for (const auto &[locale, day] : cases) {
        DatePattern::setSystemLocale(locale);
        const QString content = DueDateContent::newContentWithDate(due).value_or(QString());
        EXPECT_TRUE(content.endsWith(QStringLiteral("<en-note>.DT.%1</en-note>").arg(QLatin1String(day)))) << content.toStdString();
        written.append(content);
    }
    for (const QLocale &reader : {QLocale(QLocale::English, QLocale::UnitedStates), QLocale::c()}) {
        DatePattern::setSystemLocale(reader);
        for (const QString &content : written)
            EXPECT_EQ(DueDateContent::dueDate(content), QDate(2011, 3, 5).startOfDay(Clock::timeZone()));
    }
}

TEST_F(DueDateContentTest, SettingReplacesTheDateInPlaceAndRemovingTakesMarkerAndDateOnly)
{
    DatePattern::setSystemLocale(QLocale::c());
    const QString content = QStringLiteral("<en-note>a.DT.2011-03-05b.KVDone.</en-note>\n");
    const QDateTime christmas(QDate(2012, 12, 24), QTime(9, 0), Clock::timeZone());
    EXPECT_EQ(DueDateContent::setDueDate(christmas, content), QStringLiteral("<en-note>a.DT.24-12-2012b.KVDone.\n</en-note>"));
    EXPECT_EQ(DueDateContent::removeDueDatedInContent(content), QStringLiteral("<en-note>ab.KVDone.\n</en-note>"));
    // A date that does not fit the ten characters leaves the written one alone.
    for (const QDateTime &unwritable : {QDateTime(), QDateTime(QDate(10000, 1, 1), QTime(12, 0), Clock::timeZone())})
        EXPECT_EQ(DueDateContent::setDueDate(unwritable, content), QStringLiteral("<en-note>a.DT.2011-03-05b.KVDone.\n</en-note>"));

    // A marker without its ten characters of date, or typed in another client before mark-up,
    // is replaced and removed without eating into what follows it.
    EXPECT_EQ(DueDateContent::setDueDate(christmas, QStringLiteral("<en-note>x.DT.12")), QStringLiteral("<en-note>x.DT.24-12-2012</en-note>"));
    EXPECT_EQ(DueDateContent::removeDueDatedInContent(QStringLiteral("<en-note>x.DT.12")), QStringLiteral("<en-note>x</en-note>"));
    const QString typed = QStringLiteral("<en-note><div>.DT.</div><div>y</div></en-note>");
    EXPECT_EQ(DueDateContent::removeDueDatedInContent(typed), QStringLiteral("<en-note><div></div><div>y</div></en-note>"));
    EXPECT_EQ(DueDateContent::setDueDate(christmas, typed), QStringLiteral("<en-note><div>.DT.24-12-2012</div><div>y</div></en-note>"));
    // Nor is a character split in two.
    EXPECT_EQ(DueDateContent::removeDueDatedInContent(QStringLiteral(".DT.123456789😀</en-note>")), QStringLiteral("😀</en-note>"));
}

TEST_F(DueDateContentTest, OnlyAWholeDateInEitherPatternReads)
{
    EXPECT_EQ(DueDateContent::dueDate(QStringLiteral(".DT.2011-03-05")), QDate(2011, 3, 5).startOfDay(Clock::timeZone()));
    EXPECT_EQ(DueDateContent::dueDate(QStringLiteral(".DT.29-02-2012</en-note>")), QDate(2012, 2, 29).startOfDay(Clock::timeZone()));
    for (const char *content : {"", ".DT.2011-03-0", ".DT.2011/03/05</en-note>", ".DT.2011-02-30", ".DT.+011-03-05",
                                ".dt.2011-03-05", ".DT.xx.DT.2011-03-05</en-note>"})
        EXPECT_FALSE(DueDateContent::dueDate(QString::fromUtf8(content)).has_value()) << content;
}

TEST_F(DueDateContentTest, DueDayStartsWhenTheDayDoesWhereMidnightIsSkipped)
{
    // In São Paulo the clocks went from 00:00 to 01:00 on 4 November 2018.
    const QTimeZone saoPaulo("America/Sao_Paulo");
    Clock::setTimeZone(saoPaulo);
    EXPECT_EQ(DueDateContent::dueDate(QStringLiteral(".DT.04-11-2018</en-note>")), QDateTime(QDate(2018, 11, 4), QTime(1, 0), saoPaulo));
    EXPECT_EQ(DueDateContent::dueDate(QStringLiteral(".DT.2018-11-05"))->toTimeZone(saoPaulo).time(), QTime(0, 0));
    // Samoa skipped 30 December 2011 altogether.
    Clock::setTimeZone(QTimeZone("Pacific/Apia"));
    EXPECT_EQ(DueDateContent::dueDate(QStringLiteral(".DT.30-12-2011")), DueDateContent::dueDate(QStringLiteral(".DT.31-12-2011")));
}
