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

// Every fixed query of the application must parse and name only keys the model has.
TEST(PredicateTest, EveryFixedQueryOfTheApplicationParsesAgainstTheModel)
{
    TempStore store;
    const QDateTime d = QDateTime::currentDateTime();
    const QString s = QStringLiteral("x");
    const struct
    {
        const char *entity;
        const char *format;
        QVariantList args;
    } queries[] = {
        {"MyNote", "(active == 1) && (dueDated <= %@) && (completed == 0) && (notebook.hide == 0)", {d}},
        {"MyNote", "(active == 1) && (dueDated >= %@) && (dueDated <= %@) && (completed == 0) && (notebook.hide == 0)", {d, d}},
        {"MyNote", "(active == 1) && (dueDated < %@) && (completed == 0) && (notebook.hide == 0)", {d}},
        {"MyNote", "(active == 1) && (dueDated >= %@) && (dueDated <= %@) && (notebook.hide == 0)", {d, d}},
        {"MyNote", "(active == 1) && (dueDated > %@) && (notebook.hide == 0)", {d}},
        {"MyNote", "(active == 1) AND (notebook.hide == 0)", {}},
        {"MyNote", "((title contains[cd] %@) OR (ANY tags.name contains[cd] %@)) AND (active == 1)", {s, s}},
        {"MyNote", "((title contains[cd] %@) OR (ANY tags.name contains[cd] %@) OR (content contains[cd] %@)) AND (active == 1)", {s, s, s}},
        {"MyNote", "(active == 0)  AND (toExpunged == 0)", {}},
        {"MyNote", "SELF.active == 1", {}},
        {"MyNotebook", "(deleted == 0) && (hide == 0)", {}},
        {"MyNotebook", "(name contains[cd] %@) AND (deleted == 0)", {s}},
        {"MyTag", "(name contains[cd] %@) AND (deleted == 0)", {s}},
        {"MyNotebook", "name like %@", {s}},
        {"MyNotebook", "guid like %@", {s}},
        {"MyTag", "guid like %@", {s}},
        {"MyNote", "notebook.guid like %@", {s}},
        {"MyNotebook", "deleted == 1", {}},
        {"MyTag", "deleted == 1", {}},
        {"MyNote", "(needUpdate == 1) && (guid == \"\")", {}},
        {"MyNote", "(needUpdate == 1) && (guid != \"\")", {}},
    };
    for (const auto &q : queries) {
        EXPECT_NO_THROW(store.context().fetch(QString::fromLatin1(q.entity), Predicate::withFormat(QString::fromLatin1(q.format), q.args)))
            << q.format;
    }
    // A malformed format or an unknown key is a programming error, caught here rather than by users.
    EXPECT_THROW(Predicate::withFormat(QStringLiteral("(active == 1")), std::invalid_argument);
    EXPECT_THROW(Predicate::withFormat(QStringLiteral("active === 1")), std::invalid_argument);
    EXPECT_THROW(Predicate::withFormat(QStringLiteral("title contains[x] %@"), {s}), std::invalid_argument);
    EXPECT_THROW(Predicate::withFormat(QStringLiteral("title == %@")), std::invalid_argument);
    EXPECT_THROW(store.context().fetch(QStringLiteral("MyNote"), Predicate::withFormat(QStringLiteral("colour == 1"))),
                 std::invalid_argument);
}

TEST(PredicateTest, AbsentValuesEqualOnlyAbsentValuesAndAreNeverOrdered)
{
    TempStore store;
    MyNote *undated = store.task(QStringLiteral("undated"));
    MyNote *dated = store.task(QStringLiteral("dated"));
    dated->setDueDated(QDateTime(QDate(2026, 12, 6), QTime(0, 0)));
    auto match = [](const char *format, MyNote *note, const QVariantList &args = {}) {
        return Predicate::withFormat(QString::fromLatin1(format), args).evaluate(note);
    };
    const QDateTime later(QDate(2027, 1, 1), QTime(0, 0));

    EXPECT_TRUE(match("dueDated == nil", undated));
    EXPECT_FALSE(match("dueDated != nil", undated));
    EXPECT_FALSE(match("dueDated == 0", undated)) << "none is not equal to 0";
    EXPECT_TRUE(match("dueDated != 0", undated));
    EXPECT_FALSE(match("dueDated <= %@", undated, {later})) << "none is not less than anything";
    EXPECT_FALSE(match("dueDated > %@", undated, {later}));
    EXPECT_TRUE(match("dueDated <= %@", dated, {later}));
    EXPECT_TRUE(match("dueDated >= %@", dated, {QDateTime(QDate(2026, 12, 6), QTime(0, 0))})) << "inclusive bound";
    EXPECT_FALSE(match("dueDated > %@", dated, {later}));

    // A task without a notebook: the key path reads as none.
    MyNote *loose = store.context().insert<MyNote>();
    EXPECT_FALSE(match("notebook.hide == 0", loose));
    EXPECT_TRUE(match("notebook.hide != 0", loose));
    EXPECT_TRUE(match("notebook.hide == 0", dated));
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
    EXPECT_EQ(found(QStringLiteral("ecole")), QStringList{QStringLiteral("ÉCOLE Ångström")});
    EXPECT_EQ(found(QStringLiteral("angstrom")), QStringList{QStringLiteral("ÉCOLE Ångström")});
    EXPECT_EQ(found(QStringLiteral("SENAL")), QStringList{QStringLiteral("buy milk")}) << "found through its tag";
    EXPECT_EQ(found(QStringLiteral("MILK")), QStringList{QStringLiteral("buy milk")});
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
    EXPECT_TRUE(like("Work 2026"));
    EXPECT_FALSE(like("Work"));
    EXPECT_FALSE(like("work 2026"));
    EXPECT_TRUE(like("W*6"));
    EXPECT_TRUE(like("Work 20??"));
    EXPECT_FALSE(like("Work 20?"));
    EXPECT_TRUE(like("*"));

    // User text is only an argument: quotes, parentheses and operators in it are plain text.
    nb->setName(QStringLiteral("a\") OR (1 == 1"));
    EXPECT_TRUE(like("a\") OR (1 == 1"));
    EXPECT_FALSE(like("x\") OR (1 == 1"));
}

TEST(PredicateTest, EscapedQuotesCompareWithTheEmptyStringAndBooleansWithNumbers)
{
    TempStore store;
    MyNote *fresh = store.task(QStringLiteral("fresh"));
    MyNote *uploaded = store.task(QStringLiteral("uploaded"));
    uploaded->setValue(QStringLiteral("guid"), QStringLiteral("6f1c-22"));
    const auto neverUploaded = Predicate::withFormat(QStringLiteral("(needUpdate == 1) && (guid == \"\")"));
    const auto changedSince = Predicate::withFormat(QStringLiteral("(needUpdate == 1) && (guid != \"\")"));
    EXPECT_TRUE(neverUploaded.evaluate(fresh));
    EXPECT_FALSE(neverUploaded.evaluate(uploaded));
    EXPECT_TRUE(changedSince.evaluate(uploaded));
    uploaded->setValue(QStringLiteral("needUpdate"), false);
    EXPECT_FALSE(changedSince.evaluate(uploaded));
    EXPECT_TRUE(Predicate::withFormat(QStringLiteral("completed == NO AND active == YES")).evaluate(fresh));
    EXPECT_TRUE(Predicate::withFormat(QStringLiteral("NOT (completed == 1) || FALSEPREDICATE")).evaluate(fresh));
}
