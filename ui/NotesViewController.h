#pragma once

#include "ui/ManagingViewController.h"

#include <memory>

namespace Ui {
class NotesView;
}

// The task list: the tasks of one notebook. The window restores the notebook shown at the last
// quit through selectedNotebookIndex and changeSelectedNotebook.
class NotesViewController : public ManagingViewController
{
    Q_OBJECT
public:
    explicit NotesViewController(ManagedObjectContext *context, QObject *parent = nullptr);
    ~NotesViewController() override;

    // The shown notebook's row in the notebook list's arranged order.
    int selectedNotebookIndex() const { return m_selectedNotebookIndex; }
    void setSelectedNotebookIndex(int index) { m_selectedNotebookIndex = index; }
    // Shows the notebook at selectedNotebookIndex.
    void changeSelectedNotebook(QObject *sender);

private:
    std::unique_ptr<Ui::NotesView> m_ui;
    int m_selectedNotebookIndex = 0;
};
