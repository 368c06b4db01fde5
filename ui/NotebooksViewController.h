#pragma once

#include "ui/NamedObjectsViewController.h"

#include <memory>

namespace Ui {
class NotebooksView;
}

class MyNotebook;
class MyNotebookTableView;

// The notebooks: add (the name opens for typing at once), rename, hide, search and delete.
// Deleting never loses a task: the tasks of a deleted notebook go, in the trash, to the
// receiving notebook (defaultNotebook). A notebook the service knows stays in the store marked
// deleted until synchronisation deletes it there; one never synchronised leaves the store. With
// no notebook to receive its tasks, a notebook stays marked deleted with its tasks.
class NotebooksViewController : public NamedObjectsViewController
{
    Q_OBJECT
public:
    explicit NotebooksViewController(ManagedObjectContext *context, QObject *parent = nullptr);
    ~NotebooksViewController() override;

    // The notebook that receives the tasks of `notebook` when it is deleted; nullptr for none.
    MyNotebook *defaultNotebook(MyNotebook *notebook) const;

    MyNotebookTableView *notebookTable() const;
    Ui::NotebooksView &ui() { return *m_ui; }

protected:
    ManagedObject *insertNewObject() override;
    // The tasks go to the receiving notebook; with none, the notebook keeps them.
    bool handOver(ManagedObject *object, const QSet<const ManagedObject *> &leaving) override;
    void markDeleted(ManagedObject *object) override;
    QString equalNameText() const override;
    QString sureDeleteText(int count) const override;
    void selectionIndexChanged(int index) override;

private:
    std::unique_ptr<Ui::NotebooksView> m_ui;
};
