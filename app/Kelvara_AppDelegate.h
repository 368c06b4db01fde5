#pragma once

#include "app/SyncingParamPreferencesController.h"
#include "core/Notification.h"

#include <QDateTime>
#include <QIcon>
#include <QList>
#include <QObject>

#include <functional>
#include <memory>

class ErrorPaneAlerts;
class MainWindow;
class ManagedObjectContext;
class ManagingViewController;
class NotesViewController;
class OperationQueue;
class QAction;
class PreferencesController;
class StoreStack;
class SyncDriver;
struct SyncProgress;
class TaskReminders;
class UndoManager;

// The spine of the application: it owns the task store, the main window with its five views and
// the operation queue on which saves and synchronisations run. Views talk to it through named
// notifications and it forwards the window's commands to the view on screen. It decides what
// happens at launch and at quit, and it installs the GUI's error presenter.
class Kelvara_AppDelegate : public QObject, public SyncingParamPreferencesController
{
    Q_OBJECT
public:
    enum TerminateReply { TerminateCancel, TerminateNow };

    // The indexes of the views, in the switcher's order.
    enum ViewIndex { TasksView = 0, TodayView = 1, NotebooksView = 2, TagsView = 3, TrashView = 4 };

    // Registers the default settings and the lists' value transformers. Runs once, before the
    // first delegate exists.
    static void initialize();

    // Opens the store (in `storeFolder`, or the user's data folder when empty) and creates the
    // views and the window. The window is shown by applicationDidFinishLaunching().
    explicit Kelvara_AppDelegate(const QString &storeFolder = QString(), QObject *parent = nullptr);
    ~Kelvara_AppDelegate() override;

    void applicationDidFinishLaunching();
    TerminateReply applicationShouldTerminate();
    void applicationWillTerminate();
    bool windowShouldClose();
    // A request to quit, from the Quit command or the window's close button: the quit sequence,
    // then terminationApproved() when it agrees. A request made while one is under way is ignored.
    void terminate(QObject *sender);

    MainWindow *window() const { return m_window.get(); }
    const QList<ManagingViewController *> &viewControllers() const { return m_viewControllers; }
    NotesViewController *notesViewController() const;
    int selectedViewController() const { return m_selectedViewController; }
    int tasksCount() const { return m_tasksCount; }
    // The switcher's image of a view; none for any other index.
    static QIcon menuItemImage(int index);

    // The switcher's action; the item's tag is the index of the view to show.
    void changeViewController(QAction *sender);
    // False (with a beep) when the window would not end its editing: the view on screen stays.
    bool displayViewController(ManagingViewController *viewController);

    // The window's commands, each acting on the view on screen.
    void sendAddObjectNotification(QObject *sender);
    void sendEditObjectNotification(QObject *sender);
    void sendRemoveObjectNotification(QObject *sender);
    void sendShowSearchField(QObject *sender);
    void sendMarkTasksAsCompleted(QObject *sender);
    void showNotebooksListForTasks(QObject *sender);
    void saveAction(QObject *sender);

    // Notification handlers, called on the main thread also for notifications a worker posts.
    void saveData(const Notification &notification);
    void editSelectedTask(const Notification &notification);
    void changeNotebookToTasks(const Notification &notification);
    void entityNameChanged(const Notification &notification);
    void hideSyncingStatus(const Notification &notification);
    void tasksCountChanged(const Notification &notification);

    StoreStack &storeStack() { return *m_store; }
    ManagedObjectContext *managedObjectContext() const { return m_context; }
    OperationQueue &operationsQueue() { return *m_operationsQueue; }
    UndoManager *windowWillReturnUndoManager(QWidget *window) const;
    // Wipes the store (the account reset); the periodic timer then follows the reset settings.
    bool DeleteDatabase(QObject *sender) override;

    QDateTime lastSyncDate() const { return m_lastSyncDate; }
    void setLastSyncDate(const QDateTime &date);

    // Synchronisation. The sync button, its menu item and the launch: a first or incremental
    // run, or an alert saying why not.
    void syncWithEvernote(QObject *sender);
    // The timer and the quit: an incremental run, unchecked. A test may take it over.
    void setStartSyncHandler(std::function<void(QObject *sender)> handler) { m_startSync = std::move(handler); }
    void startSync(QObject *sender);
    void SyncingParamDidChanged(PreferencesController *sender) override;
    void SyncingParamFirstSync(PreferencesController *sender) override;
    void startTimerSync();
    void restartTimerSync();
    void showSyncingStatus();
    // The preferences window, made the first time it is asked for and kept.
    void showPreferences(QObject *sender);
    PreferencesController *preferencesController() const { return m_preferencesController.get(); }
    SyncDriver &syncDriver() { return *m_syncDriver; }
    // The launcher badge, the launch and quit panels and the midnight refresh.
    TaskReminders &taskReminders() { return *m_reminders; }
    // The daily refresh: the task list's and the Today view's day-dependent filters and styles
    // follow the new day.
    void midnightOperations();

    // The quit panel with the task counts, shown modally.
    void setQuitPanelHandler(std::function<void()> handler) { m_sayTasksAtFinish = std::move(handler); }

signals:
    // The quit sequence agreed: the event loop may end.
    void terminationApproved();

private:
    // The views and reminders over the store (or none), made at creation and again when a store
    // that could not be opened opens for a later action (storeForAction).
    void attachStore();
    // True when the store is open, after trying again to open it if it was not.
    bool storeForAction();
    ManagingViewController *currentViewController() const;
    // Everything the window shows about the view on screen: the search command's title, the
    // tasks count and which commands apply.
    void updateForViewOnScreen();
    void updateUndoActions();
    void connectCommands();
    void observeNotifications();
    bool commitEditing();
    void syncLaunch();
    // The quit waits for the runs; after a moment a panel says so and offers to quit at once.
    void waitForSyncAtQuit();
    void showSyncProgress(const SyncProgress &progress);

    std::unique_ptr<ErrorPaneAlerts> m_errorAlerts;
    std::unique_ptr<StoreStack> m_store;
    ManagedObjectContext *m_context = nullptr;
    QList<ManagingViewController *> m_viewControllers;
    std::unique_ptr<MainWindow> m_window;
    // Before the queue: the queue goes first and finishes the runs, which report to the driver.
    std::unique_ptr<SyncDriver> m_syncDriver;
    std::unique_ptr<PreferencesController> m_preferencesController;
    std::unique_ptr<OperationQueue> m_operationsQueue;
    int m_selectedViewController = -1;
    int m_tasksCount = 0;
    QDateTime m_lastSyncDate;
    bool m_frameRestored = false;
    bool m_terminating = false;
    std::function<void(QObject *)> m_startSync;
    std::function<void()> m_sayTasksAtFinish;
    std::unique_ptr<TaskReminders> m_reminders;
};
