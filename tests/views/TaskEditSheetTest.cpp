#include "core/Clock.h"
#include "core/store/MyTag.h"
#include "core/store/SyncWriteScope.h"
#include "tests/support/ViewTest.h"
#include "ui/TaskEditSheet.h"
#include "ui_TaskEditSheet.h"

#include <QTimeZone>

#include <functional>

namespace {
class TaskEditSheetTest : public ViewTest
{
protected:
    TaskEditSheet sheet{&store.context()};
    Ui::TaskEditSheet &ui = sheet.ui();
};
} // namespace

TEST_F(TaskEditSheetTest, TitlesAreRefusedWhenBlankOrTooLongKeepingWhatWasTyped)
{
    MyNote *task = store.task(QStringLiteral("Buy bread"));
    const auto confirm = [&](const QString &typed) {
        sheet.beginEditing(task, nullptr, &store);
        ui.titleField->setText(typed);
        return sheet.endEditTask();
    };
    for (const QString &typed : {QStringLiteral(" \t\u00a0\u3000 "), QString(256, u'x')}) {
        EXPECT_FALSE(confirm(typed));
        EXPECT_TRUE(sheet.isVisible()) << "the sheet stays open";
        EXPECT_FALSE(answerAlert(QStringLiteral("OK")).isEmpty());
        EXPECT_EQ(ui.titleField->text(), typed) << "what was typed stays";
        EXPECT_EQ(task->title(), QStringLiteral("Buy bread"));
        sheet.reject();
    }
    EXPECT_TRUE(confirm(QStringLiteral("Buy rye bread")));
    EXPECT_FALSE(sheet.isVisible());
}

// A synchronisation may write the task while the sheet is open: confirming the sheet writes
// what the user edited in it and leaves everything else as the run wrote it, unmarked.
TEST_F(TaskEditSheetTest, OnlyWhatWasEditedInTheSheetIsWrittenSoWhatASyncWroteMeanwhileSurvives)
{
    ManagedObjectContext &context = store.context();
    MyNote *task = store.task(QStringLiteral("Call Ana"));
    task->setContent(QStringLiteral("+34 600 000 000"));
    task->setDueDated(QDateTime(QDate(2026, 12, 7), QTime(0, 0, 10)));
    QStringList written;
    QObject::connect(&context, &ManagedObjectContext::objectChanged, &sheet, [&](ManagedObject *o, const QString &key) {
        if (o == task && key != QStringLiteral("updated") && key != QStringLiteral("needUpdate"))
            written << key;
    });
    NotificationRecorder saves(QStringLiteral("saveDataToDisk"));
    const struct
    {
        const char *edit;
        std::function<void()> inSheet;
        QString key; // the one key the sheet writes
        QVariant value;
    } cases[] = {
        {"nothing", [] {}, {}, {}},
        // The longest title the service takes, with blanks around it.
        {"title", [&] { ui.titleField->setText(QStringLiteral("  ") + QString(255, u'y') + QStringLiteral("\t\u00a0")); },
         QStringLiteral("title"), QString(255, u'y')},
        {"notes", [&] { ui.contentView->setPlainText(QStringLiteral("Fish & chips <2>")); }, QStringLiteral("content"),
         QStringLiteral("Fish & chips <2>")},
        {"notes emptied", [&] { ui.contentView->clear(); }, QStringLiteral("content"), QVariant()},
        {"due date", [&] { ui.datePicker->setDateTime(QDateTime(QDate(2026, 12, 9), QTime(9, 15, 40))); },
         QStringLiteral("dueDated"), QDateTime(QDate(2026, 12, 9), QTime(0, 0, 40))},
        {"due date off", [&] { ui.dueDateBox->setChecked(false); }, QStringLiteral("dueDated"), QVariant()},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.edit);
        sheet.beginEditing(task, nullptr, &store);
        {
            // Not at midnight: a due date taken back from the sheet would be.
            SyncWriteScope run(context);
            run.write(task, {{QStringLiteral("title"), QStringLiteral("From the phone")},
                             {QStringLiteral("content"), QStringLiteral("from the service")},
                             {QStringLiteral("dueDated"), QDateTime(QDate(2026, 12, 24), QTime(18, 30))},
                             {QStringLiteral("needUpdate"), false}});
        }
        const quint64 counted = task->changeCount();
        written.clear();
        c.inSheet();
        ASSERT_TRUE(sheet.endEditTask());
        const bool edited = !c.key.isEmpty();
        EXPECT_EQ(written, edited ? QStringList{c.key} : QStringList());
        EXPECT_EQ(task->needUpdate(), edited);
        EXPECT_EQ(task->changeCount() > counted, edited);
        if (edited) {
            EXPECT_EQ(task->value(c.key), c.value);
        }
    }
    EXPECT_EQ(saves.count(), int(std::size(cases)));
}

TEST_F(TaskEditSheetTest, TheDueDateIsThePickedDayAtMidnightPlusThePickedSecondsEvenOnADaylightSavingDay)
{
    // In São Paulo the clocks went from 00:00 to 01:00 on 4 November 2018: that day starts at 01:00.
    const QTimeZone saoPaulo("America/Sao_Paulo");
    Clock::setTimeZone(saoPaulo);
    const QDateTime due = TaskEditSheet::dueDateFromPicker(QDateTime(QDate(2018, 11, 4), QTime(14, 37, 25), saoPaulo));
    EXPECT_EQ(due.toTimeZone(saoPaulo), QDateTime(QDate(2018, 11, 4), QTime(1, 0, 25), saoPaulo));
    Clock::setTimeZone(QTimeZone());

    MyNote *task = store.task(QStringLiteral("Dentist"));
    sheet.beginEditing(task, nullptr, &store);
    EXPECT_FALSE(ui.dueDateBox->isChecked());
    ui.dueDateBox->setChecked(true);
    ui.datePicker->setDateTime(QDateTime(QDate(2026, 12, 9), QTime(9, 15, 40)));
    sheet.endEditTask();
    EXPECT_EQ(task->dueDated(), QDateTime(QDate(2026, 12, 9), QTime(0, 0, 40)));
}

TEST_F(TaskEditSheetTest, TagsArePutOnOnceAndTakenOff)
{
    MyNote *task = store.task(QStringLiteral("Plan trip"));
    MyTag *home = store.tag(QStringLiteral("home"));
    store.tag(QStringLiteral("work"));
    sheet.beginEditing(task, nullptr, &store);
    ui.tagPopUp->setCurrentIndex(0);
    sheet.addTagToTask();
    sheet.addTagToTask();
    EXPECT_EQ(task->tags(), QList<MyTag *>{home});
    ASSERT_EQ(ui.taskTagTable->model()->rowCount(), 1);
    ui.taskTagTable->selectionModel()->select(ui.taskTagTable->model()->index(0, 0), QItemSelectionModel::Select);
    sheet.removeTagFromTask();
    EXPECT_TRUE(task->tags().isEmpty());
}
