#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QWidget>

class ManagedObjectContext;
class QKeyEvent;

// The base of the main window's five views. A controller owns its view (the subclass loads it
// from the view's .ui file), holds the store context and answers the window's commands. A
// command that a view does not take up tells the user it is not available there.
//
// Key presses that no widget of the view handled reach the controller (keyDown) before they
// go on to the view's container: view, controller, box.
class ManagingViewController : public QObject
{
    Q_OBJECT
public:
    explicit ManagingViewController(ManagedObjectContext *context, QObject *parent = nullptr);
    ~ManagingViewController() override;

    QWidget *view() const { return m_view; }
    QString title() const { return m_title; }
    ManagedObjectContext *managedObjectContext() const { return m_context; }

    bool searchBarActive() const { return m_searchBarActive; }
    void setSearchBarActive(bool active);

    virtual void newObjectNotification();
    virtual void editObjectNotification();
    virtual void removeObjectNotification();
    virtual void showSearchField();
    virtual void nameChangedNotification();
    virtual void rearrangeArrayController();

    // Pushes what the view's editors hold into the store before a save, a quit or a change of
    // view. False when an editor holds a value it cannot accept: the view must stay.
    virtual bool commitEditing();

    // "Error", "NOTAVAILFORVIEW", "OK", as a sheet on the window the view is in.
    void featureNotAvailableAlert();

signals:
    // The search bar came or went, by the window's command or by the view's own keys.
    void searchBarActiveChanged(bool active);

protected:
    void setTitle(const QString &title) { m_title = title; }
    // The window the view is on, or nullptr while it is not on screen.
    QWidget *mainWindow() const;
    // A key press that reached the view unhandled; true when the controller took it.
    virtual bool keyDown(QKeyEvent *event);

    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QPointer<QWidget> m_view;
    ManagedObjectContext *m_context; // the store outlives every view
    QString m_title;
    bool m_searchBarActive = false;
};
