#pragma once

#include "core/store/Predicate.h"
#include "core/store/SortDescriptor.h"
#include "ui/ManagingViewController.h"

#include <QIcon>
#include <QList>

#include <memory>
#include <vector>

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
    const std::vector<SortDescriptor> &sd() const { return m_sd; }
    const Predicate &inTrashPredicate() const { return m_inTrashPredicate; }
    QIcon icon() const { return m_icon; }
    Ui::TrashView &ui() { return *m_ui; }

private:
    using Answer = void (TrashViewController::*)(int, const QList<ManagedObject *> &);
    void ask(const QList<ManagedObject *> &tasks, const QString &message, const QString &informativeText,
             const QString &defaultButton, Answer answer);
    // The tasks still in the trash among those asked about.
    static QList<MyNote *> stillInTrash(const QList<ManagedObject *> &tasks);

    std::unique_ptr<Ui::TrashView> m_ui;
    ArrayController *m_tasks;
    std::vector<SortDescriptor> m_sd;
    Predicate m_inTrashPredicate;
    QIcon m_icon;
};
