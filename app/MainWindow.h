#pragma once

#include "app/FrameAnimator.h"

#include <QHash>
#include <QList>
#include <QMainWindow>
#include <QPointer>

class QAction;
class QActionGroup;
class QComboBox;
class QLabel;
class QProgressBar;
class QPropertyAnimation;
class QToolBar;
class QVBoxLayout;

// The application's single window: the view switcher, the commands in the menus and the tool
// bar, the box that holds the view on screen, and a status line with the tasks count and the
// synchronisation status. It decides nothing itself: the application delegate connects the
// actions to its commands and decides what a request to close means.
class MainWindow : public QMainWindow
{
    Q_OBJECT
public:
    enum Command {
        AddObject,
        EditObject,
        RemoveObject,
        ShowSearch,
        MarkCompleted,
        MoveToNotebook,
        Save,
        Synchronise,
        Preferences,
        Undo,
        Redo,
        Quit,
        CommandCount
    };

    explicit MainWindow(QWidget *parent = nullptr);
    ~MainWindow() override;

    QAction *action(Command command) const { return m_actions.at(command); }
    QAction *searchMenuItem() const { return action(ShowSearch); }

    // The view switcher: a pop-up in the tool bar, and the same items in the View menu with
    // Ctrl+1 to Ctrl+9. An item's tag is its view's index.
    QComboBox *popUp() const { return m_popUp; }
    void addSwitcherItem(const QString &title, const QIcon &image, int tag);
    QAction *switcherItem(int tag) const;
    void selectSwitcherItem(int tag);

    QWidget *boxView() const { return m_boxView; }
    // The size a view gets in the box at the window's present size.
    QSize boxContentSize();
    // Takes the view on screen out of the box (it keeps its size) and puts `view` in.
    void setBoxView(QWidget *view);
    // Animated only while the window is on screen.
    void setFrame(const QRect &frame, bool animate) { m_frame.setFrame(frame, animate); }
    void finishFrameAnimation() { m_frame.finish(); }
    bool isAnimatingFrame() const { return m_frame.isAnimating(); }
    // Ends any editing in the window by taking the focus away from the editor. Refuses, and
    // leaves the editor as it is, when the editor holds a value it cannot accept.
    bool makeFirstResponder();

    void setTasksCount(int count);
    void hideTasksCount();
    QLabel *tasksCountLabel() const { return m_tasksCount; }

    QProgressBar *syncIndicator() const { return m_syncIndicator; }
    QLabel *syncLabel() const { return m_syncLabel; }
    QLabel *syncDateLabel() const { return m_syncDateLabel; }
    QLabel *syncDateInfoLabel() const { return m_syncDateInfoLabel; }
    QLabel *noConectionView() const { return m_noConectionView; }
    // Shows or hides the running-synchronisation label with its indicator.
    void setSyncing(bool syncing);
    // What the run under way is doing and how far it is ("Sending 12 of 40 changes"); the
    // indicator fills as it goes.
    void setSyncProgress(const QString &text, int done, int total);
    // The end of the last run: the no-connection sign with the reason as its tooltip, or none.
    void setSyncFailure(const QString &reason);

    // While the application waits for its last operations at quit: a busy status line and
    // every command off. Dialogs raised meanwhile still work.
    void setFinishing(bool finishing);
    bool isFinishing() const { return m_finishing; }

    // Once the application has agreed to quit, the window closes when asked.
    void allowClose() { m_closeAllowed = true; }

signals:
    void switcherItemTriggered(QAction *item);
    // The user asked to close the window. It stays open: closing it is quitting, which the
    // application decides.
    void closeRequested();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void createActions();
    void createMenus();
    void createToolBar();
    void createStatusLine();
    QAction *addCommand(Command command, const QString &key, const QString &themeIcon, const QString &ownIcon,
                        const QList<QKeySequence> &shortcuts);
    void showAbout();

    QList<QAction *> m_actions;
    QToolBar *m_toolBar = nullptr;
    QComboBox *m_popUp = nullptr;
    QMenu *m_viewMenu = nullptr;
    QActionGroup *m_switcherGroup = nullptr;
    QList<QAction *> m_switcherItems;

    QWidget *m_box = nullptr;
    QVBoxLayout *m_boxLayout = nullptr;
    QPointer<QWidget> m_boxView;
    FrameAnimator m_frame{this};

    QLabel *m_tasksCount = nullptr;
    QProgressBar *m_syncIndicator = nullptr;
    QLabel *m_syncLabel = nullptr;
    QLabel *m_syncDateLabel = nullptr;
    QLabel *m_syncDateInfoLabel = nullptr;
    QLabel *m_noConectionView = nullptr;

    bool m_finishing = false;
    bool m_closeAllowed = false;
    QHash<QAction *, bool> m_enabledBeforeFinishing;
};
