#include "core/Clock.h"
#include "core/Localized.h"
#include "core/NotificationCenter.h"
#include "core/store/MyNote.h"
#include "core/store/MyTag.h"
#include "core/store/SyncWriteScope.h"
#include "tests/support/TempStore.h"
#include "ui/TaskEditSheet.h"
#include "ui_TaskEditSheet.h"

#include <QMessageBox>
#include <QTimeZone>

#include <gtest/gtest.h>

#include <functional>

TEST(TaskEditSheetTest, TitlesLoseTheWhiteSpaceAtTheirEndsAndAreRefusedWhenEmptyOrTooLongKeepingWhatWasTyped)
{
    TempStore store;
    MyNote *task = store.task(QStringLiteral("Buy bread"));
    TaskEditSheet sheet(&store.context());
    const auto refusedWith = [&](const QString &typed) {
        sheet.beginEditing(task, nullptr, &store);
        sheet.ui().titleField->setText(typed);
        EXPECT_FALSE(sheet.endEditTask());
        EXPECT_TRUE(sheet.isVisible()) << "the sheet stays open";
        EXPECT_EQ(sheet.ui().titleField->text(), typed) << "what was typed stays";
        EXPECT_EQ(task->title(), QStringLiteral("Buy bread"));
        QString reason;
        for (QMessageBox *alert : sheet.findChildren<QMessageBox *>()) {
            if (alert->isVisible()) {
                reason = alert->informativeText();
                alert->close();
            }
        }
        sheet.reject();
        return reason;
    };
    EXPECT_EQ(refusedWith(QStringLiteral(" ")), Localized::string(QStringLiteral("TASK_NO_TITLE")));
    EXPECT_EQ(refusedWith(QStringLiteral(" \t\u00a0\u3000 ")), Localized::string(QStringLiteral("TASK_NO_TITLE")));
    EXPECT_EQ(refusedWith(QString(256, u'x')), Localized::format(QStringLiteral("TASK_TITLE_TOO_LONG"), {255, 256}));

    sheet.beginEditing(task, nullptr, &store);
    sheet.ui().titleField->setText(QStringLiteral("  Buy rye bread\t\u00a0"));
    EXPECT_TRUE(sheet.endEditTask());
    EXPECT_FALSE(sheet.isVisible());
    EXPECT_EQ(task->title(), QStringLiteral("Buy rye bread"));
    // The longest title the service takes, even with blanks around it.
    sheet.beginEditing(task, nullptr, &store);
    sheet.ui().titleField->setText(QStringLiteral("  ") + QString(255, u'y') + QStringLiteral("  "));
    EXPECT_TRUE(sheet.endEditTask());
    EXPECT_EQ(task->title(), QString(255, u'y'));
}

// A synchronisation may write the task while the sheet is open: confirming the sheet writes
// what the user edited in it and leaves everything else as the run wrote it, unmarked.
TEST(TaskEditSheetTest, OnlyWhatWasEditedInTheSheetIsWrittenSoWhatASyncWroteMeanwhileSurvives)
{
    TempStore store;
    ManagedObjectContext &context = store.context();
    MyNote *task = store.task(QStringLiteral("Call Ana"));
    task->setContent(QStringLiteral("+34 600 000 000"));
    task->setDueDated(QDateTime(QDate(2026, 12, 7), QTime(0, 0, 10)));
    TaskEditSheet sheet(&context);
    QStringList written;
    QObject::connect(&context, &ManagedObjectContext::objectChanged, &sheet, [&](ManagedObject *o, const QString &key) {
        if (o == task && key != QStringLiteral("updated") && key != QStringLiteral("needUpdate"))
            written << key;
    });
    int saves = 0;
    NotificationCenter::defaultCenter().addObserver(&saves, QStringLiteral("saveDataToDisk"),
                                                    [&](const Notification &) { ++saves; });
    // Not at midnight: a due date taken back from the sheet would be.
    const QDateTime synced(QDate(2026, 12, 24), QTime(18, 30));
    struct Case
    {
        const char *edit;
        std::function<void()> inSheet;
        QString written; // the one key the sheet writes
        QDateTime due;
    };
    const std::vector<Case> cases{
        {"nothing", [] {}, {}, synced},
        {"title", [&] { sheet.ui().titleField->setText(QStringLiteral("Call Ana back")); }, QStringLiteral("title"), synced},
        {"notes", [&] { sheet.ui().contentView->setPlainText(QStringLiteral("mobile")); }, QStringLiteral("content"), synced},
        {"due date", [&] { sheet.ui().datePicker->setDateTime(QDateTime(QDate(2026, 12, 9), QTime(9, 15, 40))); },
         QStringLiteral("dueDated"), QDateTime(QDate(2026, 12, 9), QTime(0, 0, 40))},
        {"due date off", [&] { sheet.ui().dueDateBox->setChecked(false); }, QStringLiteral("dueDated"), QDateTime()},
    };
    for (const Case &c : cases) {
        sheet.beginEditing(task, nullptr, &store);
        {
            SyncWriteScope run(context);
            run.write(task, {{QStringLiteral("title"), QStringLiteral("From the phone")},
                             {QStringLiteral("content"), QStringLiteral("from the service")},
                             {QStringLiteral("dueDated"), synced},
                             {QStringLiteral("needUpdate"), false}});
        }
        const quint64 counted = task->changeCount();
        written.clear();
        c.inSheet();
        ASSERT_TRUE(sheet.endEditTask()) << c.edit;
        EXPECT_EQ(written, c.written.isEmpty() ? QStringList() : QStringList{c.written}) << c.edit;
        const bool edited = !c.written.isEmpty();
        EXPECT_EQ(task->needUpdate(), edited) << c.edit;
        EXPECT_EQ(task->changeCount() > counted, edited) << c.edit;
        EXPECT_EQ(task->title(), c.written == QLatin1String("title") ? QStringLiteral("Call Ana back")
                                                                     : QStringLiteral("From the phone"))
            << c.edit;
        EXPECT_EQ(task->content(), c.written == QLatin1String("content") ? QStringLiteral("mobile")
                                                                         : QStringLiteral("from the service"))
            << c.edit;
        EXPECT_EQ(task->dueDated(), c.due) << c.edit;
    }
    EXPECT_EQ(saves, int(cases.size()));

    sheet.beginEditing(task, nullptr, &store);
    sheet.ui().contentView->setPlainText(QString());
    sheet.endEditTask();
    EXPECT_TRUE(task->content().isNull()) << "emptied notes are none";
    EXPECT_FALSE(task->simpleNote().hasContent);
    sheet.beginEditing(task, nullptr, &store);
    sheet.ui().contentView->setPlainText(QStringLiteral("Fish & chips <2>"));
    sheet.endEditTask();
    EXPECT_EQ(task->content(), QStringLiteral("Fish & chips <2>"));
    NotificationCenter::defaultCenter().removeObserver(&saves);
}

TEST(TaskEditSheetTest, TheDueDateIsThePickedDayAtMidnightPlusThePickedSecondsEvenOnADaylightSavingDay)
{
    const QTimeZone madrid("Europe/Madrid");
    Clock::setTimeZone(madrid);
    const QDateTime picked(QDate(2026, 12, 7), QTime(14, 37, 25), madrid);
    EXPECT_EQ(TaskEditSheet::dueDateFromPicker(picked), QDateTime(QDate(2026, 12, 7), QTime(0, 0, 25), madrid));

    // In São Paulo the clocks went from 00:00 to 01:00 on 4 November 2018: that day starts at 01:00.
    const QTimeZone saoPaulo("America/Sao_Paulo");
    Clock::setTimeZone(saoPaulo);
    const QDateTime jumpDay(QDate(2018, 11, 4), QTime(14, 37, 25), saoPaulo);
    const QDateTime due = TaskEditSheet::dueDateFromPicker(jumpDay);
    EXPECT_EQ(due.toTimeZone(saoPaulo).date(), QDate(2018, 11, 4)) << "not the day before";
    EXPECT_EQ(due.toTimeZone(saoPaulo).time(), QTime(1, 0, 25));
    Clock::setTimeZone(QTimeZone());

    TempStore store;
    MyNote *task = store.task(QStringLiteral("Dentist"));
    TaskEditSheet sheet(&store.context());
    sheet.beginEditing(task, nullptr, &store);
    EXPECT_FALSE(sheet.ui().dueDateBox->isChecked());
    sheet.ui().dueDateBox->setChecked(true);
    sheet.ui().datePicker->setDateTime(QDateTime(QDate(2026, 12, 9), QTime(9, 15, 40)));
    sheet.endEditTask();
    EXPECT_EQ(task->dueDated(), QDateTime(QDate(2026, 12, 9), QTime(0, 0, 40)));
}

TEST(TaskEditSheetTest, TagsArePutOnAndTakenOffAtOnce)
{
    TempStore store;
    MyNote *task = store.task(QStringLiteral("Plan trip"));
    MyTag *home = store.tag(QStringLiteral("home"));
    store.tag(QStringLiteral("work"));
    TaskEditSheet sheet(&store.context());
    sheet.rearrangeTagList();
    sheet.beginEditing(task, nullptr, &store);
    sheet.ui().tagPopUp->setCurrentIndex(0);
    sheet.addTagToTask();
    sheet.addTagToTask();
    EXPECT_EQ(task->tags(), QList<MyTag *>{home}) << "a tag is put on once";
    ASSERT_EQ(sheet.ui().taskTagTable->model()->rowCount(), 1);
    sheet.ui().taskTagTable->selectionModel()->select(sheet.ui().taskTagTable->model()->index(0, 0),
                                                      QItemSelectionModel::Select);
    sheet.removeTagFromTask();
    EXPECT_TRUE(task->tags().isEmpty());
    sheet.reject();

    // Tags made since, and renamed, are listed by name, whatever their case and accents.
    store.tag(QStringLiteral("Zebra"));
    store.tag(QStringLiteral("\u00e9lan"));
    store.tag(QStringLiteral("Eagle"));
    store.tag(QStringLiteral("apple"));
    home->setName(QStringLiteral("\u00c9t\u00e9"));
    sheet.beginEditing(task, nullptr, &store);
    QStringList listed;
    for (int i = 0; i < sheet.ui().tagPopUp->count(); ++i)
        listed << sheet.ui().tagPopUp->itemText(i);
    EXPECT_EQ(listed, (QStringList{QStringLiteral("apple"), QStringLiteral("Eagle"), QStringLiteral("\u00e9lan"),
                                   QStringLiteral("\u00c9t\u00e9"), QStringLiteral("work"), QStringLiteral("Zebra")}));
    sheet.reject();
}
