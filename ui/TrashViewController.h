#pragma once

#include "ui/ManagingViewController.h"

#include <QList>

#include <memory>

namespace Ui {
class TrashView;
}

class ArrayController;
class ManagedObject;
class MyNote;

// The tasks in the trash, by title, to restore or to expunge. Expunging a task the service
// knows only marks it (`toExpunged`), so that synchronisation sends it as an inactive note; one
// never synchronised leaves the store. The add, edit and search commands are not available.
class TrashViewController : public ManagingViewController
{
    Q_OBJECT
public:
    explicit TrashViewController(ManagedObjectContext *context, QObject *parent = nullptr);
    ~TrashViewController() override;

    // Ask, then restore or expunge the selected tasks; without a selection nothing happens.
    void restoreTasks();
    void expungeTasks();
    // The answers to the two confirmations for `tasks`: only the default button acts.
    void alertRestoreEnded(int returnCode, const QList<ManagedObject *> &tasks);
    void alertDeleteEnded(int returnCode, const QList<ManagedObject *> &tasks);
    void rearrangeArrayController() override;

    ArrayController *taskList() const { return m_tasks; }

private:
    using Answer = void (TrashViewController::*)(int, const QList<ManagedObject *> &);
    void ask(const QList<ManagedObject *> &tasks, const QString &message, const QString &informativeText,
             const QString &defaultButton, Answer answer);
    // The tasks still in the trash among those asked about.
    static QList<MyNote *> stillInTrash(const QList<ManagedObject *> &tasks);

    std::unique_ptr<Ui::TrashView> m_ui;
    ArrayController *m_tasks;
};
