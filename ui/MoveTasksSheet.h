#pragma once

#include <QDialog>

#include <memory>

class ArrayController;
class ManagedObjectContext;
class MyNotebook;

namespace Ui {
class MoveTasksSheet;
}

// The sheet that asks which notebook the selected tasks go to. Its notebook list is re-sorted
// only when the notebooks changed ("notebookArrayChanged").
class MoveTasksSheet : public QDialog
{
    Q_OBJECT
public:
    explicit MoveTasksSheet(ManagedObjectContext *context, QWidget *parent = nullptr);
    ~MoveTasksSheet() override;

    void rearrangeNotebookList();
    // Opens the sheet on the window with a notebook other than `current` (the one the tasks
    // are in) chosen, when there is one: moving tasks to where they are does nothing.
    void begin(QWidget *window, const MyNotebook *current = nullptr);
    MyNotebook *selectedNotebook() const;
    Ui::MoveTasksSheet &ui() { return *m_ui; }

signals:
    // The confirm button: the notebook chosen, or nullptr when none is selected.
    void moveRequested(MyNotebook *notebook);

private:
    std::unique_ptr<Ui::MoveTasksSheet> m_ui;
    ArrayController *m_notebooks;
};
