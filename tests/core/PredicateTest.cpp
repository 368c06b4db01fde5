#include "core/store/MyNote.h"
#include "core/store/MyNotebook.h"
#include "core/store/MyTag.h"
#include "core/store/Predicate.h"
#include "tests/support/TempStore.h"

#include <QDateTime>

#include <gtest/gtest.h>

namespace {
QStringList titles(const QList<ManagedObject *> &objects)
{
    QStringList result;
    for (ManagedObject *o : objects)
        result << static_cast<MyNote *>(o)->title();
    result.sort();
    return result;
}
} // namespace

TEST(PredicateTest, EveryFixedQueryOfTheApplicationParsesAgainstTheModel)
{
    TempStore store;
    const QDateTime d = QDateTime::currentDateTime();
    const QString s = QStringLiteral("x");
    // One of each form the application's fixed queries take.
    const struct { const char *entity; const char *format; QVariantList args; } queries[] = {
        {"MyNote", "(active == 1) && (dueDated >= %@) && (dueDated <= %@) && (completed == 0) && (notebook.hide == 0)", {d, d}},
        {"MyNote", "(active == 1) && (dueDated < %@) && (dueDated > %@)", {d, d}},
        {"MyNote", "((title contains[cd] %@) OR (ANY tags.name contains[cd] %@) OR (content contains[cd] %@)) AND (active == 1)", {s, s, s}},
        {"MyNote", "SELF.active == 1", {}},
        {"MyNotebook", "(name contains[cd] %@) AND (deleted == 0)", {s}},
        {"MyTag", "guid like %@", {s}},
        {"MyNote", "notebook.guid like %@", {s}},
        {"MyNote", "(needUpdate == 1) && (guid != \"\")", {}},
    };
    for (const auto &q : queries)
        EXPECT_NO_THROW(store.context().fetch(QString::fromLatin1(q.entity), Predicate::withFormat(QString::fromLatin1(q.format), q.args))) << q.format;
    // A malformed format or an unknown key is a programming error, caught here rather than by users.
    EXPECT_THROW(Predicate::withFormat(QStringLiteral("(active == 1")), std::invalid_argument);
    EXPECT_THROW(Predicate::withFormat(QStringLiteral("title == %@")), std::invalid_argument);
    EXPECT_THROW(store.context().fetch(QStringLiteral("MyNote"), Predicate::withFormat(QStringLiteral("colour == 1"))),
                 std::invalid_argument);
}

TEST(PredicateTest, AbsentValuesEqualOnlyAbsentValuesAndAreNeverOrderedQuotesAndBooleansCompareByValue)
{
    TempStore store;
    MyNote *undated = store.task(QStringLiteral("undated"));
    MyNote *dated = store.task(QStringLiteral("dated"));
    dated->setDueDated(QDateTime(QDate(2026, 12, 6), QTime(0, 0)));
    auto match = [](const char *format, MyNote *note, const QVariantList &args = {}) {
        return Predicate::withFormat(QString::fromLatin1(format), args).evaluate(note);
    };
    const QDateTime later(QDate(2027, 1, 1), QTime(0, 0));

    MyNote *loose = store.context().insert<MyNote>(); // its notebook's key path reads as none
    dated->setValue(QStringLiteral("guid"), QStringLiteral("6f1c-22"));
    loose->setValue(QStringLiteral("guid"), QStringLiteral("6f1c-23"));
    loose->setValue(QStringLiteral("needUpdate"), false);
    // None equals only none, is not 0 and is never ordered; bounds are inclusive.
    const struct { const char *format; MyNote *note; QVariantList args; bool matches; } rows[] = {
        {"dueDated == nil", undated, {}, true}, {"dueDated != nil", undated, {}, false},
        {"dueDated == 0", undated, {}, false}, {"dueDated != 0", undated, {}, true},
        {"dueDated <= %@", undated, {later}, false}, {"dueDated > %@", undated, {later}, false},
        {"dueDated >= %@", dated, {dated->dueDated()}, true},
        {"notebook.hide == 0", loose, {}, false}, {"notebook.hide == 0", dated, {}, true},
        {"(needUpdate == 1) && (guid == \"\")", undated, {}, true}, {"(needUpdate == 1) && (guid != \"\")", dated, {}, true},
        {"(needUpdate == 1) && (guid != \"\")", loose, {}, false},
        {"completed == NO AND active == YES", undated, {}, true},
    };
    for (const auto &row : rows)
        EXPECT_EQ(match(row.format, row.note, row.args), row.matches) << row.format << " on " << row.note->title().toStdString();
}

TEST(PredicateTest, TextMatchingFoldsCaseAndDiacriticsOnlyWhenAskedAndLikeMatchesWholeStrings)
{
    TempStore store;
    MyNote *ecole = store.task(QStringLiteral("ÉCOLE Ångström"));
    MyNote *plain = store.task(QStringLiteral("buy milk"));
    MyTag *tag = store.tag(QStringLiteral("Señal"));
    plain->addTagsObject(tag);

    const QString search = QStringLiteral("((title contains[cd] %@) OR (ANY tags.name contains[cd] %@)) AND (active == 1)");
    auto found = [&](const QString &text) {
        return titles(store.context().fetch(QStringLiteral("MyNote"), Predicate::withFormat(search, {text, text})));
    };
    for (const auto &[text, title] : {std::pair{"ecole", "ÉCOLE Ångström"}, {"angstrom", "ÉCOLE Ångström"},
                                      {"SENAL", "buy milk"} /* through its tag */, {"MILK", "buy milk"}})
        EXPECT_EQ(found(QString::fromUtf8(text)), QStringList{QString::fromUtf8(title)}) << text;
    EXPECT_TRUE(found(QStringLiteral("tea")).isEmpty());

    plain->setActive(false);
    EXPECT_TRUE(found(QStringLiteral("milk")).isEmpty()) << "trashed tasks are not found";

    // Without options, comparison is exact.
    EXPECT_FALSE(Predicate::withFormat(QStringLiteral("title contains %@"), {QStringLiteral("ecole")}).evaluate(ecole));
    EXPECT_TRUE(Predicate::withFormat(QStringLiteral("title contains[c] %@"), {QStringLiteral("écOLE")}).evaluate(ecole));

    // like: whole string, * and ?, case-sensitive.
    MyNotebook *nb = store.notebook(QStringLiteral("Work 2026"));
    auto like = [&](const char *pattern) {
        return Predicate::withFormat(QStringLiteral("name like %@"), {QString::fromUtf8(pattern)}).evaluate(nb);
    };
    for (const char *pattern : {"Work 2026", "W*6", "Work 20??", "W*k*2*"})
        EXPECT_TRUE(like(pattern)) << pattern;
    for (const char *pattern : {"Work", "work 2026", "W*5"})
        EXPECT_FALSE(like(pattern)) << pattern;

    // User text is only an argument: quotes, parentheses and operators in it are plain text.
    nb->setName(QStringLiteral("a\") OR (1 == 1"));
    EXPECT_TRUE(like("a\") OR (1 == 1"));
    EXPECT_FALSE(like("x\") OR (1 == 1"));
}
