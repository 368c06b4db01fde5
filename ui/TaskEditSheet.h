#pragma once

#include <QDateTime>
#include <QDialog>
#include <QPointer>

#include <memory>

class ArrayController;
class ManagedObjectContext;
class MyNote;

namespace Ui {
class TaskEditSheet;
}

// The sheet in which one task is edited: title, due date, tags and notes. The task list and
// the Today view both edit through it. Tags are put on and taken off at once; the title, due
// date and notes are taken when the sheet is confirmed (endEditTask), and only those the user
// changed in the sheet: a synchronisation may write the task while the sheet is open, and
// writing an untouched field back would revert what it brought and send the old value again.
class TaskEditSheet : public QDialog
{
    Q_OBJECT
public:
    TaskEditSheet(ManagedObjectContext *context, QWidget *parent = nullptr);
    ~TaskEditSheet() override;

    // The picked day at 00:00 in the user's time zone, plus the picked time's seconds.
    static QDateTime dueDateFromPicker(const QDateTime &picked);

    // Fills the sheet from the task and shows it on the window (modal to that window). The
    // `sender` is the object the "saveDataToDisk" request is posted with. A `newTask`, just
    // added for this edit, is removed again when the edit is cancelled.
    void beginEditing(MyNote *task, QWidget *window, const void *sender, bool newTask = false);
    // Takes the edited fields into the task. False (the sheet stays open, the task unchanged, the
    // reason shown) when the title, without the white space at its ends, is empty or too long.
    bool endEditTask();
    void addTagToTask();
    void removeTagFromTask();
    // The tag pop-up's list is re-sorted only when the tags changed ("tagArrayChanged").
    void rearrangeTagList();

    MyNote *task() const { return m_task; }
    Ui::TaskEditSheet &ui() { return *m_ui; }

    // Cancel, Escape or the window's close button.
    void reject() override;

signals:
    void editingEnded(MyNote *task);

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void fillTagPopUp();

    std::unique_ptr<Ui::TaskEditSheet> m_ui;
    ManagedObjectContext *m_context;
    ArrayController *m_tagList;
    ArrayController *m_taskTags;
    MyNote *m_task = nullptr;
    bool m_newTask = false;
    // What the sheet showed when it opened, as the widgets hold it: a field still showing it
    // was not edited.
    QString m_shownTitle;
    QString m_shownContent;
    bool m_shownHasDueDate = false;
    QDateTime m_shownPickedDate;
    const void *m_sender = nullptr;
};
