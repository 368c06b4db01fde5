#include "app/Kelvara_AppDelegate.h"

#include "core/Clock.h"
#include "core/Defaults.h"
#include "core/ErrorPane.h"
#include "core/MainThread.h"
#include "core/credentials/AGKeychain.h"
#include "core/credentials/SharedData.h"
#include "sync/SyncDriver.h"
#include "core/ErrorPresenter.h"
#include "core/Localized.h"
#include "core/Log.h"
#include "core/NotificationCenter.h"
#include "core/OperationQueue.h"
#include "core/SettingsKeys.h"
#include "ui/AlertSheet.h"
#include "app/ErrorPaneAlerts.h"
#include "app/MainWindow.h"
#include "app/PreferencesController.h"
#include "app/QuitWaitPanel.h"
#include "app/TaskReminders.h"
#include "core/store/ManagedObjectContext.h"
#include "core/store/MyNotebook.h"
#include "core/store/StoreStack.h"
#include "ui/ArrayCountValueTransformer.h"
#include "ui/ManagingViewController.h"
#include "ui/NotebookChangingView.h"
#include "ui/NotebooksViewController.h"
#include "ui/NotesViewController.h"
#include "ui/TagsViewController.h"
#include "ui/TaskCompletingView.h"
#include "ui/TaskCountingView.h"
#include "ui/TodayViewController.h"
#include "ui/TrashViewController.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QEventLoop>
#include <QTimer>
#include <QLabel>
#include <QLocale>
#include <QScreen>

#include <mutex>

void Kelvara_AppDelegate::initialize()
{
    static std::once_flag once;
    std::call_once(once, [] {
        Defaults::standardUserDefaults().registerDefaults(SettingsKeys::registeredDefaults());
        ValueTransformer::setValueTransformer(std::make_unique<ArrayCountValueTransformer>(),
                                              QLatin1String(ArrayCountValueTransformer::name));
    });
}

Kelvara_AppDelegate::Kelvara_AppDelegate(const QString &storeFolder, QObject *parent)
    : QObject(parent)
{
    initialize();
    // Errors met while opening the store are presented already.
    m_errorAlerts = std::make_unique<ErrorPaneAlerts>();
    ErrorPresenter::install(m_errorAlerts.get());

    m_store = std::make_unique<StoreStack>(storeFolder);
    m_context = m_store->managedObjectContext();
    observeNotifications();
    m_operationsQueue = std::make_unique<OperationQueue>();
    m_syncDriver = std::make_unique<SyncDriver>(*m_operationsQueue, [this] { return m_context; });
    connect(m_syncDriver.get(), &SyncDriver::timerFired, this, [this] { startSync(m_syncDriver.get()); });
    connect(m_syncDriver.get(), &SyncDriver::progress, this, &Kelvara_AppDelegate::showSyncProgress);

    m_window = std::make_unique<MainWindow>();
    m_errorAlerts->setWindow(m_window.get());
    connectCommands();
    setQuitPanelHandler([this] { m_reminders->sayTasksAtFinish(); });
    attachStore();
}

void Kelvara_AppDelegate::attachStore()
{
    m_viewControllers = {
        new NotesViewController(m_context, this),     new TodayViewController(m_context, this),
        new NotebooksViewController(m_context, this), new TagsViewController(m_context, this),
        new TrashViewController(m_context, this),
    };
    // The search command follows the bar of the view on screen, however the bar came or went
    // (Escape in its field hides it too).
    for (ManagingViewController *view : std::as_const(m_viewControllers)) {
        connect(view, &ManagingViewController::searchBarActiveChanged, this, [this, view](bool active) {
            if (view == currentViewController())
                m_window->searchMenuItem()->setText(
                    Localized::string(active ? QStringLiteral("HIDE_SEARCH") : QStringLiteral("SHOW_SEARCH")));
        });
    }
    m_reminders = std::make_unique<TaskReminders>(m_context, m_window.get(), QGuiApplication::desktopFileName());
    connect(&m_reminders->midnightTimer(), &MidnightTimer::dayChanged, this, &Kelvara_AppDelegate::midnightOperations);
    if (m_context) {
        m_context->setCommitEditingHandler([this] { return commitEditing(); });
        connect(m_context->undoManager(), &UndoManager::stateChanged, this, &Kelvara_AppDelegate::updateUndoActions);
    }
    updateUndoActions();
}

bool Kelvara_AppDelegate::storeForAction()
{
    if (m_context)
        return true;
    // The store could not be opened so far, and this action needs it: try again. A failure is
    // presented again, so the action never comes to nothing without a word.
    ManagedObjectContext *context = m_store->managedObjectContext();
    if (!context)
        return false;
    // The views were made without a store: they are made anew on it, the same one on screen.
    const int shown = m_selectedViewController;
    m_window->setBoxView(nullptr);
    qDeleteAll(m_viewControllers);
    m_context = context;
    attachStore();
    if (shown >= 0) {
        displayViewController(m_viewControllers.at(shown));
        updateForViewOnScreen();
        m_reminders->midnightTimer().start();
        if (Defaults::standardUserDefaults().boolForKey(Key::ShowDockTile))
            m_reminders->changeDockTileNumber();
    }
    return true;
}

Kelvara_AppDelegate::~Kelvara_AppDelegate()
{
    NotificationCenter::defaultCenter().removeObserver(this);
    // What is still queued may hop to the main thread and reach the views: let it finish while
    // everything is in place.
    m_operationsQueue->waitUntilAllOperationsAreFinished();
    m_operationsQueue.reset();
    if (m_context)
        m_context->setCommitEditingHandler({});
    qDeleteAll(m_viewControllers);
    m_viewControllers.clear();
    m_window.reset();
    ErrorPresenter::install(nullptr);
}

void Kelvara_AppDelegate::observeNotifications()
{
    NotificationCenter &center = NotificationCenter::defaultCenter();
    const auto observe = [&](const char *name, void (Kelvara_AppDelegate::*handler)(const Notification &)) {
        center.addObserver(this, QString::fromLatin1(name), [this, handler](const Notification &n) { (this->*handler)(n); });
    };
    observe("saveDataToDisk", &Kelvara_AppDelegate::saveData);
    observe("EditSelectedTask", &Kelvara_AppDelegate::editSelectedTask);
    observe("changeNotebookToTasks", &Kelvara_AppDelegate::changeNotebookToTasks);
    observe("nameChanged", &Kelvara_AppDelegate::entityNameChanged);
    observe("hideSyncStatus", &Kelvara_AppDelegate::hideSyncingStatus);
    observe("tasksCountChanged", &Kelvara_AppDelegate::tasksCountChanged);
}

void Kelvara_AppDelegate::connectCommands()
{
    MainWindow *w = m_window.get();
    const auto command = [&](MainWindow::Command c, void (Kelvara_AppDelegate::*slot)(QObject *)) {
        QAction *action = w->action(c);
        connect(action, &QAction::triggered, this, [this, action, slot] { (this->*slot)(action); });
    };
    command(MainWindow::AddObject, &Kelvara_AppDelegate::sendAddObjectNotification);
    command(MainWindow::EditObject, &Kelvara_AppDelegate::sendEditObjectNotification);
    command(MainWindow::RemoveObject, &Kelvara_AppDelegate::sendRemoveObjectNotification);
    command(MainWindow::ShowSearch, &Kelvara_AppDelegate::sendShowSearchField);
    command(MainWindow::MarkCompleted, &Kelvara_AppDelegate::sendMarkTasksAsCompleted);
    command(MainWindow::MoveToNotebook, &Kelvara_AppDelegate::showNotebooksListForTasks);
    command(MainWindow::Save, &Kelvara_AppDelegate::saveAction);
    command(MainWindow::Quit, &Kelvara_AppDelegate::terminate);
    command(MainWindow::Synchronise, &Kelvara_AppDelegate::syncWithEvernote);
    command(MainWindow::Preferences, &Kelvara_AppDelegate::showPreferences);

    connect(w->action(MainWindow::Undo), &QAction::triggered, this, [this] {
        if (UndoManager *undo = windowWillReturnUndoManager(m_window.get()); undo && undo->canUndo()) {
            undo->undo();
            NotificationCenter::defaultCenter().post(QStringLiteral("saveDataToDisk"), this);
        }
    });
    connect(w->action(MainWindow::Redo), &QAction::triggered, this, [this] {
        if (UndoManager *undo = windowWillReturnUndoManager(m_window.get()); undo && undo->canRedo()) {
            undo->redo();
            NotificationCenter::defaultCenter().post(QStringLiteral("saveDataToDisk"), this);
        }
    });
    connect(w, &MainWindow::switcherItemTriggered, this, &Kelvara_AppDelegate::changeViewController);
    // Closing the one window is quitting; the close request is served once the event that
    // carried it is over, so that the quit's dialogs do not run inside it.
    connect(w, &MainWindow::closeRequested, this, [this] {
        if (windowShouldClose())
            terminate(m_window.get());
    }, Qt::QueuedConnection);
}

// Launch

void Kelvara_AppDelegate::applicationDidFinishLaunching()
{
    Defaults &defaults = Defaults::standardUserDefaults();

    const QByteArray frame = defaults.objectForKey(Key::MainWindowFrame).toByteArray();
    m_frameRestored = !frame.isEmpty() && m_window->restoreGeometry(frame);

    m_window->noConectionView()->hide();

    for (int i = 0; i < m_viewControllers.size(); ++i)
        m_window->addSwitcherItem(m_viewControllers.at(i)->title(), menuItemImage(i), i);

    const int start = defaults.boolForKey(Key::StartInTasksView) ? TasksView : TodayView;
    ManagingViewController *startView = m_viewControllers.at(start);
    // A restored frame is the size the user left the window at: the first view takes the box as
    // it is, rather than the window taking the view's designed size.
    if (m_frameRestored)
        startView->view()->resize(m_window->boxContentSize());
    displayViewController(startView);
    m_selectedViewController = start;
    m_window->selectSwitcherItem(start);
    updateForViewOnScreen();

    if (defaults.objectForKey(Key::lastUsedNotebook).isValid()) {
        NotesViewController *notes = notesViewController();
        notes->setSelectedNotebookIndex(int(defaults.integerForKey(Key::lastUsedNotebook)));
        notes->changeSelectedNotebook(this);
    }

    if (!m_frameRestored) {
        if (QScreen *screen = QGuiApplication::primaryScreen()) {
            QRect frameRect = m_window->geometry();
            frameRect.moveCenter(screen->availableGeometry().center());
            m_window->setGeometry(frameRect);
        }
    }
    m_window->show();

    // The day's reminders: the midnight refresh, the launch panel, the launcher badge.
    m_reminders->midnightTimer().start();
    if (defaults.boolForKey(Key::showTasksStatusPanel))
        m_reminders->sayTasksAtLaunch();
    if (defaults.boolForKey(Key::ShowDockTile))
        m_reminders->changeDockTileNumber();

    syncLaunch();
}

void Kelvara_AppDelegate::midnightOperations()
{
    m_viewControllers.at(TasksView)->rearrangeArrayController();
    m_viewControllers.at(TodayView)->rearrangeArrayController();
}

// Views

NotesViewController *Kelvara_AppDelegate::notesViewController() const
{
    return static_cast<NotesViewController *>(m_viewControllers.at(TasksView));
}

ManagingViewController *Kelvara_AppDelegate::currentViewController() const
{
    if (m_selectedViewController < 0 || m_selectedViewController >= m_viewControllers.size())
        return nullptr;
    return m_viewControllers.at(m_selectedViewController);
}

QIcon Kelvara_AppDelegate::menuItemImage(int index)
{
    static const char *const names[] = {"notes32", "forToday", "books", "tag_orange", "trash"};
    if (index < 0 || index >= int(std::size(names)))
        return QIcon();
    return QIcon(QStringLiteral(":/images/%1.svg").arg(QLatin1String(names[index])));
}

void Kelvara_AppDelegate::changeViewController(QAction *sender)
{
    if (!sender)
        return;
    const int tag = sender->data().toInt();
    if (tag < 0 || tag >= m_viewControllers.size())
        return;
    m_window->selectSwitcherItem(tag);
    if (tag != m_selectedViewController && !displayViewController(m_viewControllers.at(tag))) {
        // The old view stays on screen, and with it the switcher and the commands' target.
        m_window->selectSwitcherItem(m_selectedViewController);
        return;
    }
    m_selectedViewController = tag;
    updateForViewOnScreen();
}

bool Kelvara_AppDelegate::displayViewController(ManagingViewController *viewController)
{
    ManagingViewController *current = m_window->boxView() ? currentViewController() : nullptr;
    if ((current && !current->commitEditing()) || !m_window->makeFirstResponder()) {
        QApplication::beep();
        return false;
    }
    viewController->rearrangeArrayController();

    QWidget *view = viewController->view();
    m_window->finishFrameAnimation();
    const QSize box = m_window->boxContentSize();
    QRect frame = m_window->geometry();
    // A maximised or full-screen window keeps its size; the view takes the box.
    if (!(m_window->windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen))) {
        const int dw = view->width() - box.width();
        const int dh = view->height() - box.height();
        frame.setSize(QSize(frame.width() + dw, frame.height() + dh)); // the top-left stays
    }

    m_window->setBoxView(nullptr);
    m_window->setFrame(frame, true);
    // In the box, the view's parent is the box, and its controller sees the key presses the
    // view leaves: view, controller, box.
    m_window->setBoxView(view);
    return true;
}

void Kelvara_AppDelegate::updateForViewOnScreen()
{
    ManagingViewController *view = currentViewController();
    if (!view)
        return;
    m_window->searchMenuItem()->setText(
        Localized::string(view->searchBarActive() ? QStringLiteral("HIDE_SEARCH") : QStringLiteral("SHOW_SEARCH")));
    if (auto *counting = dynamic_cast<TaskCountingView *>(view)) {
        Notification n{QStringLiteral("tasksCountChanged"), this,
                       {{QStringLiteral("arrayCount"), counting->numberOfTasksInArray()},
                        {QStringLiteral("viewController"), m_selectedViewController}}};
        tasksCountChanged(n);
    } else {
        // A count left from another view would be read as this view's.
        m_window->hideTasksCount();
    }
    m_window->action(MainWindow::MarkCompleted)->setEnabled(dynamic_cast<TaskCompletingView *>(view) != nullptr);
    m_window->action(MainWindow::MoveToNotebook)->setEnabled(m_selectedViewController == TasksView);
}

// Commands

void Kelvara_AppDelegate::sendAddObjectNotification(QObject *)
{
    if (!storeForAction())
        return;
    if (ManagingViewController *view = currentViewController())
        view->newObjectNotification();
}

void Kelvara_AppDelegate::sendEditObjectNotification(QObject *)
{
    if (!storeForAction())
        return;
    if (ManagingViewController *view = currentViewController())
        view->editObjectNotification();
}

void Kelvara_AppDelegate::sendRemoveObjectNotification(QObject *)
{
    if (!storeForAction())
        return;
    if (ManagingViewController *view = currentViewController())
        view->removeObjectNotification();
}

void Kelvara_AppDelegate::sendShowSearchField(QObject *)
{
    ManagingViewController *view = currentViewController();
    if (!view)
        return;
    view->setSearchBarActive(!view->searchBarActive());
    view->showSearchField();
    // Titled after the view answered: a view without a search bar leaves it hidden.
    m_window->searchMenuItem()->setText(
        Localized::string(view->searchBarActive() ? QStringLiteral("HIDE_SEARCH") : QStringLiteral("SHOW_SEARCH")));
}

void Kelvara_AppDelegate::sendMarkTasksAsCompleted(QObject *)
{
    if (!storeForAction())
        return;
    if (auto *view = dynamic_cast<TaskCompletingView *>(currentViewController()))
        view->markTasksAsCompleted();
}

void Kelvara_AppDelegate::showNotebooksListForTasks(QObject *)
{
    if (m_selectedViewController == TasksView && storeForAction())
        NotificationCenter::defaultCenter().post(QStringLiteral("moveTasks"), this);
}

void Kelvara_AppDelegate::saveAction(QObject *)
{
    if (!storeForAction())
        return;
    m_store->saveAction();
}

// Notifications

void Kelvara_AppDelegate::saveData(const Notification &)
{
    m_store->saveOnQueue(*m_operationsQueue);
    if (ManagingViewController *view = currentViewController())
        view->rearrangeArrayController();
    if (m_selectedViewController != TasksView)
        m_viewControllers.at(TasksView)->rearrangeArrayController();
    if (m_selectedViewController != TodayView)
        m_viewControllers.at(TodayView)->rearrangeArrayController();
}

void Kelvara_AppDelegate::editSelectedTask(const Notification &)
{
    sendEditObjectNotification(nullptr);
}

void Kelvara_AppDelegate::changeNotebookToTasks(const Notification &notification)
{
    auto *view = dynamic_cast<NotebookChangingView *>(currentViewController());
    if (!view)
        return;
    auto *object = notification.userInfo.value(QStringLiteral("selectedNotebook")).value<ManagedObject *>();
    view->tasksChangeToNotebook(dynamic_cast<MyNotebook *>(object));
}

void Kelvara_AppDelegate::entityNameChanged(const Notification &)
{
    if (ManagingViewController *view = currentViewController())
        view->nameChangedNotification();
}

void Kelvara_AppDelegate::hideSyncingStatus(const Notification &notification)
{
    // Another run still queued or under way keeps the status up.
    if (m_syncDriver->runEnded() == 0)
        m_window->setSyncing(false);
    if (notification.userInfo.value(QStringLiteral("success")).toBool()) {
        setLastSyncDate(Clock::now());
        m_window->noConectionView()->hide();
    } else {
        m_window->setSyncFailure(notification.userInfo.value(QStringLiteral("message")).toString());
    }
    for (ManagingViewController *view : std::as_const(m_viewControllers))
        view->rearrangeArrayController();
    if (m_selectedViewController == TasksView)
        NotificationCenter::defaultCenter().post(QStringLiteral("dummyNotification"), this);
}

void Kelvara_AppDelegate::tasksCountChanged(const Notification &notification)
{
    const QVariant viewController = notification.userInfo.value(QStringLiteral("viewController"));
    if (!viewController.isValid() || viewController.toInt() != m_selectedViewController)
        return;
    m_tasksCount = notification.userInfo.value(QStringLiteral("arrayCount")).toInt();
    m_window->setTasksCount(m_tasksCount);
}

void Kelvara_AppDelegate::setLastSyncDate(const QDateTime &date)
{
    m_lastSyncDate = date;
    if (!date.isValid()) {
        m_window->syncDateLabel()->clear();
        return;
    }
    // "Today, 14:05" in the user's locale; an older run by its date.
    const QDateTime local = date.toTimeZone(Clock::timeZone());
    const QDate today = Clock::now().toTimeZone(Clock::timeZone()).date();
    // Hours and minutes: some locales' short format carries seconds, which only flicker.
    QString timeFormat = QLocale().timeFormat(QLocale::ShortFormat);
    timeFormat.remove(QStringLiteral(":ss"));
    const QString time = QLocale().toString(local.time(), timeFormat);
    QString text;
    if (local.date() == today)
        text = Localized::format(QStringLiteral("SYNC_DATE_TODAY"), {time});
    else if (local.date() == today.addDays(-1))
        text = Localized::format(QStringLiteral("SYNC_DATE_YESTERDAY"), {time});
    else
        text = QLocale().toString(local, QLocale::ShortFormat);
    m_window->syncDateLabel()->setText(text);
}

// Store

UndoManager *Kelvara_AppDelegate::windowWillReturnUndoManager(QWidget *) const
{
    return m_context ? m_context->undoManager() : nullptr;
}

void Kelvara_AppDelegate::updateUndoActions()
{
    UndoManager *undo = windowWillReturnUndoManager(m_window.get());
    const bool finishing = m_window->isFinishing();
    m_window->action(MainWindow::Undo)->setEnabled(!finishing && undo && undo->canUndo());
    m_window->action(MainWindow::Redo)->setEnabled(!finishing && undo && undo->canRedo());
}

bool Kelvara_AppDelegate::DeleteDatabase(QObject *)
{
    if (!m_store->DeleteDatabase())
        return false;
    // The reset goes on to switch syncing off once this returns; the timer follows then, so a
    // timer left running does not fail a run every interval until the next launch.
    postToMainThread([this] { restartTimerSync(); }, this);
    return true;
}

bool Kelvara_AppDelegate::commitEditing()
{
    ManagingViewController *view = m_window->boxView() ? currentViewController() : nullptr;
    return !view || view->commitEditing();
}

// Quit

void Kelvara_AppDelegate::startSync(QObject *sender)
{
    if (m_startSync) {
        m_startSync(sender);
        return;
    }
    Log::line(QStringLiteral("Syncing with Evernote"));
    showSyncingStatus();
    m_syncDriver->start(SyncDriver::Kind::Incremental);
}

void Kelvara_AppDelegate::terminate(QObject *)
{
    if (m_terminating)
        return;
    m_terminating = true;
    const TerminateReply reply = applicationShouldTerminate();
    m_terminating = false;
    if (reply == TerminateCancel)
        return;
    applicationWillTerminate();
    m_window->allowClose();
    emit terminationApproved();
}

Kelvara_AppDelegate::TerminateReply Kelvara_AppDelegate::applicationShouldTerminate()
{
    if (!m_context)
        return TerminateNow;

    if (!m_context->commitEditing()) {
        Log::line(QStringLiteral("%@:%s unable to commit editing to terminate"),
                  {QStringLiteral("Kelvara_AppDelegate"), QStringLiteral("applicationShouldTerminate:")});
        return TerminateCancel;
    }

    Defaults &defaults = Defaults::standardUserDefaults();
    if (!defaults.boolForKey(Key::firstSync) && defaults.boolForKey(Key::SyncingActive)
        && defaults.boolForKey(Key::SyncWhenQuit))
        startSync(this);

    if (defaults.boolForKey(Key::showTasksStatusPanelAtEnd) && m_sayTasksAtFinish)
        m_sayTasksAtFinish();

    if (m_syncDriver->outstanding() > 0)
        waitForSyncAtQuit();

    // The queue's operations still reach the store through the main thread: wait in a local
    // event loop that serves them. Every network exchange has a time limit, so this ends.
    if (m_operationsQueue->operationCount() > 0) {
        m_window->setFinishing(true);
        m_operationsQueue->waitUntilAllOperationsAreFinished();
        m_window->setFinishing(false);
        updateUndoActions();
    }

    if (!m_context->hasChanges())
        return TerminateNow;
    AppError error;
    if (m_context->save(&error))
        return TerminateNow;

    if (ErrorPresenter::present(error))
        return TerminateCancel;

    const int answer = AlertSheet::runModal(
        m_window->isVisible() ? m_window.get() : nullptr,
        Localized::string(QStringLiteral("Could not save changes while quitting.  Quit anyway?")),
        Localized::string(QStringLiteral("Quitting now will lose any changes you have made since the last successful save")),
        {Localized::string(QStringLiteral("Quit anyway")), Localized::string(QStringLiteral("Cancel"))});
    return answer == AlertSheet::DefaultReturn ? TerminateNow : TerminateCancel;
}

void Kelvara_AppDelegate::applicationWillTerminate()
{
    Defaults &defaults = Defaults::standardUserDefaults();
    if (m_window)
        defaults.setObject(Key::MainWindowFrame, m_window->saveGeometry());
    defaults.setInteger(Key::lastUsedNotebook, notesViewController()->selectedNotebookIndex());
}

bool Kelvara_AppDelegate::windowShouldClose()
{
    Defaults::standardUserDefaults().setObject(Key::MainWindowFrame, m_window->saveGeometry());
    return true;
}

// Synchronisation

void Kelvara_AppDelegate::waitForSyncAtQuit()
{
    // A moment first, with the user's input held as for the rest of the quit; most runs end
    // within it and no panel flashes by.
    QEventLoop moment;
    QTimer::singleShot(400, &moment, &QEventLoop::quit);
    connect(m_operationsQueue.get(), &OperationQueue::allOperationsFinished, &moment, &QEventLoop::quit, Qt::QueuedConnection);
    if (m_operationsQueue->operationCount() > 0)
        moment.exec(QEventLoop::ExcludeUserInputEvents);
    if (m_operationsQueue->operationCount() == 0)
        return;
    QuitWaitPanel panel(m_window.get());
    connect(m_operationsQueue.get(), &OperationQueue::allOperationsFinished, &panel, &QDialog::accept, Qt::QueuedConnection);
    connect(&panel, &QuitWaitPanel::quitNow, this, [this] { m_syncDriver->stopRuns(); });
    if (m_operationsQueue->operationCount() > 0)
        panel.exec();
}

void Kelvara_AppDelegate::syncWithEvernote(QObject *)
{
    Log::line(QStringLiteral("Syncing with Evernote (button)"));
    const Defaults &defaults = Defaults::standardUserDefaults();
    if (!defaults.boolForKey(Key::SyncingActive)) {
        ErrorPane(Localized::string(QStringLiteral("SYNCING_NOT_ACTIVE"))).showErrorPane();
        return;
    }
    showSyncingStatus();
    if (defaults.boolForKey(Key::firstSync)) {
        Log::line(QStringLiteral("First Syncing"));
        m_syncDriver->start(SyncDriver::Kind::First);
    } else {
        m_syncDriver->start(SyncDriver::Kind::Incremental);
    }
}

void Kelvara_AppDelegate::SyncingParamDidChanged(PreferencesController *)
{
    restartTimerSync();
}

void Kelvara_AppDelegate::SyncingParamFirstSync(PreferencesController *)
{
    Log::line(QStringLiteral("First syncing with Evernote"));
    const Defaults &defaults = Defaults::standardUserDefaults();
    const bool active = defaults.boolForKey(Key::SyncingActive);
    if (defaults.boolForKey(Key::firstSync) && active) {
        showSyncingStatus();
        m_syncDriver->start(SyncDriver::Kind::First);
    } else {
        const char *key = active ? "FIRST_SYNC_YET_PERFORMED" : "SYNCING_NOT_ACTIVE";
        ErrorPane(Localized::string(QString::fromLatin1(key))).showErrorPane();
    }
    // The window asks this while it closes: it goes once its close is over, and the next
    // opening makes it afresh.
    if (m_preferencesController)
        m_preferencesController.release()->deleteLater();
}

void Kelvara_AppDelegate::showPreferences(QObject *)
{
    if (!m_context && !storeForAction())
        return;
    if (!m_preferencesController) {
        m_preferencesController = std::make_unique<PreferencesController>(m_context);
        m_preferencesController->setSyncingDelegate(this);
    }
    m_preferencesController->show();
    m_preferencesController->raise();
    m_preferencesController->activateWindow();
}

void Kelvara_AppDelegate::startTimerSync()
{
    m_syncDriver->startTimerSync();
    const bool active = Defaults::standardUserDefaults().boolForKey(Key::SyncingActive);
    m_window->syncDateLabel()->setVisible(active);
    m_window->syncDateInfoLabel()->setVisible(active);
}

void Kelvara_AppDelegate::restartTimerSync()
{
    m_syncDriver->restartTimerSync();
    startTimerSync();
}

void Kelvara_AppDelegate::showSyncingStatus()
{
    m_window->setSyncing(true);
}

void Kelvara_AppDelegate::showSyncProgress(const SyncProgress &progress)
{
    if (m_syncDriver->outstanding() == 0)
        return;
    const QLocale locale;
    const char *key = progress.phase == SyncProgress::Sending ? "SYNC_SENDING" : "SYNC_RECEIVING";
    m_window->setSyncProgress(Localized::format(QString::fromLatin1(key), {locale.toString(progress.done), locale.toString(progress.total)}),
                              progress.done, progress.total);
}

void Kelvara_AppDelegate::syncLaunch()
{
    Defaults &defaults = Defaults::standardUserDefaults();
    const QString user = defaults.stringForKey(Key::UserName);
    if (!defaults.boolForKey(Key::SyncingActive)) {
        m_window->syncDateLabel()->hide();
        m_window->syncDateInfoLabel()->hide();
        return;
    }
    if (user.isEmpty())
        return;
    SharedData::sharedManager()->setUserName(user);
    // Without the keychain item there is nothing to authenticate with: syncing waits for the user.
    const QString kelvara = QStringLiteral("Kelvara");
    const QString kind = QStringLiteral("password");
    if (!AGKeychain::checkForExistanceOfKeychainItem(kelvara, kind, user))
        return;
    SharedData::sharedManager()->setPassword(AGKeychain::getPasswordFromKeychainItem(kelvara, kind, user));
    if (defaults.boolForKey(Key::SyncOnLaunch))
        syncWithEvernote(this);
    startTimerSync();
}
