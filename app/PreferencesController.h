#pragma once

#include "app/FrameAnimator.h"

#include "core/store/ManagedObjectContext.h"
#include "core/store/Predicate.h"
#include "core/store/SortDescriptor.h"

#include <QMainWindow>
#include <QPointer>
#include <QStringList>

#include <memory>
#include <vector>

class ArrayController;
class MyNotebook;
class QAction;
class QActionGroup;
class QPropertyAnimation;
class QThread;
class SyncingParamPreferencesController;

namespace Ui {
class Preferences;
}

// The preferences window: the service account, synchronisation and its interval, the reset that
// wipes the local data, and the general settings (panels, badge, start view, sound, notebook for
// completed tasks, colours, search). Every control writes its setting at once. The window is made
// once and kept; closing it only hides it.
class PreferencesController : public QMainWindow
{
    Q_OBJECT
public:
    enum View { GeneralView = 0, SyncView = 1, UpdatesView = 2 };

    explicit PreferencesController(ManagedObjectContext *moc, QWidget *parent = nullptr);
    ~PreferencesController() override;

    Ui::Preferences &ui() { return *m_ui; }

    // Not owned: the application delegate, which outlives the window.
    SyncingParamPreferencesController *syncingDelegate() const { return m_syncingDelegate; }
    void setSyncingDelegate(SyncingParamPreferencesController *delegate) { m_syncingDelegate = delegate; }

    ManagedObjectContext *moc() const { return m_moc; }
    MyNotebook *notebookForCompleted() const { return m_notebookForCompleted; }
    ArrayController *notebookArrayController() const { return m_notebookArrayController; }
    bool validUser() const { return m_validUser; }
    int currentView() const { return m_currentView; }
    // True while the service is checking the account that saveUser() was given.
    bool isCheckingUser() const { return m_userCheck != nullptr; }
    bool isAnimatingFrame() const { return m_frame.isAnimating(); }

    void changeViewAction(QAction *sender);
    void changeView(int view);

    // Saves the account while there was no first synchronisation yet, otherwise asks to reset.
    void saveUser();
    void alertEnded(int returnCode);

    void changeSyncingActive();
    void changeSyncingInterval(int tag);
    void changeBackgroundColors();
    void changeShowDockTile();
    void changeShowStatusAtStart();
    void changeShowStatusAtEnd();
    void changeStartView();
    void changeEnableNotebookForCompleted();
    void changeSyncWhenQuit();
    void changeSyncOnLaunch();
    void changeSearchInContent();
    void changeCompletedSound(const QString &title);
    void changeNotebookForCompleted();

    MyNotebook *getNotebookFromDefaults() const;
    void rearrangeArray();

    static QString userNameFromP();
    static bool syncingActive();
    static double syncingInterval();

    bool windowShouldClose();
    void windowWillClose();

    void createSoundsList();
    // The folders the sounds list is read from, in order: the freedesktop theme's sounds in every
    // data folder, then the user's own sounds.
    static QStringList soundFolders();

protected:
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void windowDidLoad();
    void connectControls();
    void fillTexts();
    void buildIntervalPopUp();
    void setAccountEditable(bool editable);
    void accountChecked(const QString &userName, const QString &password, bool valid);
    void storeCredentials(const QString &userName, const QString &password);
    void resetAccount();
    void selectNotebookForCompleted();
    QWidget *page(int view) const;
    bool makeFirstResponder();
    QSize boxContentSize();
    void setFrame(const QRect &frame, bool animate) { m_frame.setFrame(frame, animate); }
    void finishFrameAnimation() { m_frame.finish(); }

    std::unique_ptr<Ui::Preferences> m_ui;
    SyncingParamPreferencesController *m_syncingDelegate = nullptr;
    QPointer<ManagedObjectContext> m_moc;
    MyNotebook *m_notebookForCompleted = nullptr;
    Predicate m_notDeletedNotHidePredicate;
    std::vector<SortDescriptor> m_sdForName;
    ArrayController *m_notebookArrayController = nullptr;
    bool m_validUser = false;

    QActionGroup *m_viewItems = nullptr;
    QWidget *m_pageOnScreen = nullptr;
    int m_currentView = -1;
    FrameAnimator m_frame{this};
    std::unique_ptr<QThread> m_userCheck;
};
