#pragma once

#include "core/store/Predicate.h"
#include "ui/ManagingViewController.h"

#include <QIcon>
#include <QList>
#include <QSet>
#include <QStringList>

class ManagedObject;
class MyTableView;
class NamedObjectArrayController;
class QLineEdit;
class QVariantAnimation;

// What the notebooks and tags views share: a table of the objects not deleted, sorted by
// name, in which a new object's name opens for typing at once, a name is renamed in place
// unless another listed object already has it, a search bar narrows the list by name, and the
// selected objects are deleted after a confirmation. An object the service never knew leaves
// the store; one it knows stays, marked deleted, until synchronisation deletes it there. The
// subclass says how an object is created, what a deleted one hands over, and gives the texts.
class NamedObjectsViewController : public ManagingViewController
{
    Q_OBJECT
public:
    // The height the search bar takes from the top of the table while it is shown.
    static constexpr int searchBarHeight = 31;

    ~NamedObjectsViewController() override;

    void newObjectNotification() override;
    void removeObjectNotification() override;
    void nameChangedNotification() override;
    void showSearchField() override;
    void rearrangeArrayController() override;
    bool commitEditing() override;

    // The answer to the delete confirmation for `objects`: only the default button deletes.
    void alertEnded(int returnCode, const QList<ManagedObject *> &objects);
    // Narrows the list to the names containing the text (case and accents aside); an empty
    // text lists every object not deleted.
    void setSearchText(const QString &text);
    bool isSearchFieldShown() const { return m_searchFieldShown; }

    NamedObjectArrayController *list() const { return m_list; }
    MyTableView *table() const { return m_table; }
    QLineEdit *searchField() const { return m_searchField; }

protected:
    // The log lines of the add, remove and search-bar commands.
    struct LogLines
    {
        QString addObject;
        QString removeObject;
        QString showSearchField;
    };

    // `deletionNotifications` are posted, after "saveDataToDisk", once objects are deleted.
    NamedObjectsViewController(ManagedObjectContext *context, const QString &entityName, const QIcon &icon,
                               bool withHideColumn, const LogLines &logLines, const QStringList &deletionNotifications,
                               QObject *parent);

    // Once the subclass has loaded its form: wires the table, the search bar and the list.
    void viewLoaded(MyTableView *table, QWidget *searchBox, QLineEdit *searchField);

    virtual ManagedObject *insertNewObject() = 0;
    // Before `object` is deleted along with the others `leaving`: it hands over what it holds.
    // False when it cannot and must stay in the store, marked deleted, even if the service
    // never knew it. The default hands over nothing.
    virtual bool handOver(ManagedObject *object, const QSet<const ManagedObject *> &leaving);
    virtual void markDeleted(ManagedObject *object) = 0;
    // The informative text of the alert for a duplicate name.
    virtual QString equalNameText() const = 0;
    // The informative text of the delete confirmation for that many objects.
    virtual QString sureDeleteText(int count) const = 0;
    // The selected row changed to `index` (-1: none).
    virtual void selectionIndexChanged(int index);

    bool keyDown(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void onSelectionChanged();
    void nameRefused(ManagedObject *object, const QString &typed, const QString &reason);
    // Opens the name of the object just added, on `row`, for typing.
    void editNewName(int row);
    // Deletes the confirmed objects (none of them deleted yet) and announces it.
    void deleteObjects(const QList<ManagedObject *> &objects);

    NamedObjectArrayController *m_list;
    LogLines m_logLines;
    QStringList m_deletionNotifications;
    Predicate m_notDeletedPredicate;
    bool m_newObject = false;
    bool m_rearrangeAfterEdit = false;
    int m_selectionIndex = -1;

    MyTableView *m_table = nullptr;
    QWidget *m_searchBox = nullptr;
    QLineEdit *m_searchField = nullptr;
    QVariantAnimation *m_searchAnimation = nullptr;
    bool m_searchFieldShown = false;
};
