#pragma once

#include "core/store/Predicate.h"
#include "ui/MyNoteGlobalSearchTableViewProtocol.h"

#include <QDialog>
#include <QRect>

#include <memory>

namespace Ui {
class GlobalSearch;
}

class ArrayController;
class GlobalSearchControllerProtocol;
class ManagedObjectContext;

// The global search: a window, modal to the whole application, listing the active tasks of
// every visible notebook by notebook name and title, narrowed as the user types (tasks of
// hidden notebooks are found too once a text is typed). A double click on a result hands the
// task to the delegate, the task list, which opens it in its editor while the search stays
// open. The return button, Escape or closing the window ends the search: the delegate's
// releaseSearchedObject() is called once, and the delegate releases the controller there.
//
// Usage (from the task list):
//     auto *search = new GlobalSearchController(window->geometry(), context, this, window);
//     search->runModal();
//     ...
//     void releaseSearchedObject() { m_search->deleteLater(); ... }
// Release it with deleteLater(): releaseSearchedObject() is called from inside the window's
// own event handling.
class GlobalSearchController : public QDialog, public MyNoteGlobalSearchTableViewProtocol
{
    Q_OBJECT
public:
    // Loads the window "GlobalSearch" with the tasks listed; `frame` is the frame the window
    // takes when it runs (the main window's). `delegate` is not owned and must outlive the search.
    GlobalSearchController(const QRect &frame, ManagedObjectContext *context, GlobalSearchControllerProtocol *delegate,
                           QWidget *parent = nullptr);
    ~GlobalSearchController() override;

    // Shows the window at `frame` with the search field focused and runs it modally; returns
    // once the search has ended.
    void runModal();
    // Ends the search: ends the modal run, takes the window off the screen and tells the
    // delegate. Does nothing when the search has ended already.
    void dismissWindow();
    // Hands the first selected result to the delegate's editSearchedObject(); without a
    // selected result nothing happens.
    void editSearchedObject() override;
    // Re-filters the results for the search text, used as typed.
    void controlTextDidChange(const QString &text);

    QRect frame() const { return m_frame; }
    ArrayController *taskList() const { return m_tasks; }
    Ui::GlobalSearch &ui() { return *m_ui; }

public slots:
    // Escape anywhere in the window, and the window's close button, end the search.
    void reject() override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    std::unique_ptr<Ui::GlobalSearch> m_ui;
    GlobalSearchControllerProtocol *m_controllerDelegate;
    ArrayController *m_tasks;
    QRect m_frame;
    Predicate m_notActivePredicate;
    bool m_searching = false;
};
