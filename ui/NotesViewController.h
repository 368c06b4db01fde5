#pragma once

#include "core/store/Predicate.h"
#include "core/store/SortDescriptor.h"
#include "ui/GlobalSearchControllerProtocol.h"
#include "ui/ManagingViewController.h"
#include "ui/MyNotesTableViewCanMoveProtocol.h"
#include "ui/NotebookChangingView.h"
#include "ui/TaskCompletingView.h"
#include "ui/TaskCountingView.h"

#include <QList>
#include <QPointer>

#include <memory>
#include <optional>
#include <vector>

namespace Ui {
class NotesView;
}

class ArrayController;
class GlobalSearchController;
class MoveTasksSheet;
class MyNote;
class MyNotebook;
class MyNotesArrayController;
class QButtonGroup;
class TaskEditSheet;

// The task list: the tasks of one notebook as cards, in one of four orders, with a search bar,
// the edit sheet, the move sheet, completion, reordering by hand and a drop box that moves
// tasks to another notebook.
class NotesViewController : public ManagingViewController,
                            public TaskCountingView,
                            public TaskCompletingView,
                            public NotebookChangingView,
                            public GlobalSearchControllerProtocol,
                            public MyNotesTableViewCanMoveProtocol
{
    Q_OBJECT
public:
    enum SortOrder { ByTitle = 0, ByCreated = 1, ByDueDate = 2, ByHand = 3 };
    // The search bar's height, which the list gives up while it is shown.
    static constexpr int searchBarHeight = 31;

    explicit NotesViewController(ManagedObjectContext *context, QObject *parent = nullptr);
    ~NotesViewController() override;

    // The shown notebook's row in the notebook list's arranged order.
    int selectedNotebookIndex() const { return m_selectedNotebookIndex; }
    void setSelectedNotebookIndex(int index) { m_selectedNotebookIndex = index; }
    // Shows the notebook at selectedNotebookIndex.
    void changeSelectedNotebook(QObject *sender);

    void newObjectNotification() override;
    void editObjectNotification() override;
    void removeObjectNotification() override;
    void showSearchField() override;
    void rearrangeArrayController() override;

    void changeMainSortDescriptors(int order);
    int selectedSortOrder() const { return m_selectedSortOrder; }
    void setSearchText(const QString &text);
    bool isSearchFieldShown() const { return m_searchFieldShown; }

    void showMoveMultipleTasks(const std::optional<QList<int>> &rows);
    void moveMultipleTasks(MyNotebook *target);
    void tasksChangeToNotebook(MyNotebook *notebook) override;
    void markTasksAsCompleted() override;
    int numberOfTasksInArray() const override;
    bool canMove() const override;

    // Opens the search over every notebook; returns when it ends.
    void launchGlobalSearch();
    void editSearchedObject(MyNote *task) override;
    void releaseSearchedObject() override;

    MyNotesArrayController *taskList() const { return m_tasks; }
    ArrayController *notebookList() const { return m_notebooks; }
    TaskEditSheet *editSheet() const { return m_editSheet; }
    MoveTasksSheet *moveSheet() const { return m_moveSheet; }
    Ui::NotesView &ui() { return *m_ui; }

protected:
    bool keyDown(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void observeNotifications();
    void notebookSelectionChanged();
    void postTasksCount();
    // Opens the edit sheet on the first selected task; a `newTask` was added for this edit.
    void editFirstSelectedTask(bool newTask);
    QList<MyNote *> selectedTasks() const;
    MyNotebook *selectedNotebook() const;
    void dummyNotification();

    std::unique_ptr<Ui::NotesView> m_ui;
    MyNotesArrayController *m_tasks;
    ArrayController *m_notebooks;
    TaskEditSheet *m_editSheet;
    MoveTasksSheet *m_moveSheet;
    QButtonGroup *m_sortButtons;
    QPointer<GlobalSearchController> m_globalSearchController;

    int m_selectedNotebookIndex = 0;
    int m_oldSelectedNotebookIndex = 0;
    int m_selectedSortOrder = ByTitle;
    bool m_searchFieldShown = false;
    std::optional<QList<int>> m_rowsToMove;
    std::vector<SortDescriptor> m_sdForName;
    Predicate m_notDeletedPredicate;
    Predicate m_notActivePredicate;
    Predicate m_notDeletedNotHidePredicate;
};
