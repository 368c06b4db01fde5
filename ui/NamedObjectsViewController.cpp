#include "ui/NamedObjectsViewController.h"

#include "core/Localized.h"
#include "core/Log.h"
#include "core/NotificationCenter.h"
#include "ui/AlertSheet.h"
#include "core/store/ManagedObjectContext.h"
#include "core/store/MyTag.h"
#include "core/store/SortDescriptor.h"
#include "ui/MyTableView.h"
#include "ui/NameEditDelegate.h"
#include "ui/NamedObjectArrayController.h"
#include "ui/SearchBarBackground.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPointer>
#include <QVariantAnimation>

NamedObjectsViewController::NamedObjectsViewController(ManagedObjectContext *context, const QString &entityName,
                                                       const QIcon &icon, bool withHideColumn, const LogLines &logLines,
                                                       const QStringList &deletionNotifications, QObject *parent)
    : ManagingViewController(context, parent)
    , m_list(new NamedObjectArrayController(context, entityName, icon, withHideColumn, this))
    , m_logLines(logLines)
    , m_deletionNotifications(deletionNotifications)
    , m_notDeletedPredicate(Predicate::withFormat(QStringLiteral("deleted == 0")))
{
}

NamedObjectsViewController::~NamedObjectsViewController() = default;

void NamedObjectsViewController::viewLoaded(MyTableView *table, QWidget *searchBox, QLineEdit *searchField)
{
    m_table = table;
    m_searchBox = searchBox;
    m_searchField = searchField;

    m_list->setFilterPredicate(m_notDeletedPredicate);
    m_list->setSortDescriptors(
        {SortDescriptor(QStringLiteral("name"), true, SortDescriptor::Comparison::LocalizedCaseInsensitive)});
    auto *names = new NameEditDelegate(
        m_list->entityName() == QLatin1String(MyTag::entityName) ? EnteredText::TagName : EnteredText::NotebookName, table);
    table->setItemDelegate(names);
    connect(names, &NameEditDelegate::nameRefused, this, &NamedObjectsViewController::nameRefused);
    m_list->showIn(table);
    QHeaderView *header = table->horizontalHeader();
    header->setSectionResizeMode(QHeaderView::ResizeToContents);
    header->setSectionResizeMode(NamedObjectArrayController::NameColumn, QHeaderView::Stretch);
    header->setMinimumSectionSize(28);
    connect(m_list, &ArrayController::selectionChanged, this, &NamedObjectsViewController::onSelectionChanged);
    connect(table->itemDelegate(), &QAbstractItemDelegate::closeEditor, this, [this] {
        // A rearrangement asked for while a name was being typed waited for the edit.
        if (std::exchange(m_rearrangeAfterEdit, false))
            QMetaObject::invokeMethod(this, &NamedObjectsViewController::rearrangeArrayController, Qt::QueuedConnection);
    });

    searchBox->setFixedHeight(0);
    searchBox->hide();
    SearchBarBackground::fill(searchBox);
    searchField->setPlaceholderText(Localized::string(QStringLiteral("FIND_BY_NAME")));
    searchField->installEventFilter(this);
    connect(searchField, &QLineEdit::textChanged, this, &NamedObjectsViewController::setSearchText);
    // The bar's height is animated as a fixed height, so the table below gives up exactly that.
    m_searchAnimation = new QVariantAnimation(this);
    m_searchAnimation->setDuration(200);
    connect(m_searchAnimation, &QVariantAnimation::valueChanged, searchBox,
            [searchBox](const QVariant &height) { searchBox->setFixedHeight(height.toInt()); });
    connect(m_searchAnimation, &QVariantAnimation::finished, this, [this] {
        if (!m_searchFieldShown)
            m_searchBox->hide();
    });
}

void NamedObjectsViewController::onSelectionChanged()
{
    const QList<int> rows = m_list->selectionIndexes();
    const int index = rows.isEmpty() ? -1 : rows.first();
    if (index != m_selectionIndex) {
        m_selectionIndex = index;
        selectionIndexChanged(index);
    }
    if (m_newObject && index >= 0)
        editNewName(index);
}

void NamedObjectsViewController::editNewName(int row)
{
    m_newObject = false;
    const QModelIndex name = m_list->index(row, NamedObjectArrayController::NameColumn);
    m_table->scrollTo(name);
    // The current index stays where the selection puts it: moving it to the name would close
    // the editor as soon as the selection settles.
    m_table->edit(name); // a line editor opens with its whole text selected
}

void NamedObjectsViewController::selectionIndexChanged(int)
{
}

void NamedObjectsViewController::nameRefused(ManagedObject *object, const QString &typed, const QString &reason)
{
    // The old name stays; once the reason is read, the name opens again with what was typed,
    // so that nothing typed is lost.
    QPointer<NamedObjectsViewController> self(this);
    AlertSheet::beginSheet(mainWindow(), QStringLiteral("Error"), reason, {QStringLiteral("OK")}, [self, object, typed](int) {
        if (!self || !object || object->isDeleted())
            return;
        const int row = self->m_list->indexOf(object);
        if (row < 0)
            return;
        const QModelIndex name = self->m_list->index(row, NamedObjectArrayController::NameColumn);
        self->m_list->setSelectedObjects({object});
        self->m_table->scrollTo(name);
        self->m_table->edit(name);
        if (auto *editor = qobject_cast<QLineEdit *>(self->m_table->indexWidget(name)))
            editor->setText(typed);
    });
}

void NamedObjectsViewController::newObjectNotification()
{
    Log::line(m_logLines.addObject);
    if (!managedObjectContext())
        return;
    m_table->commitEditing();
    // A search that the new name does not match would hide the new row.
    m_searchField->clear();
    ManagedObject *object = insertNewObject();
    m_list->rearrangeObjects();
    m_newObject = true;
    m_list->setSelectedObjects({object});
    // In a list that was empty, arranging selected the new row already: the selection did not
    // change, and the name is opened here.
    if (m_newObject && m_list->firstSelectedObject() == object)
        editNewName(m_list->indexOf(object));
}

void NamedObjectsViewController::removeObjectNotification()
{
    Log::line(m_logLines.removeObject);
    m_table->commitEditing();
    const QList<ManagedObject *> objects = m_list->selectedObjects();
    if (objects.isEmpty())
        return;
    // The objects asked about are the ones deleted, whatever the list does meanwhile.
    QPointer<NamedObjectsViewController> self(this);
    AlertSheet::beginSheet(mainWindow(), Localized::string(QStringLiteral("DELETE")), sureDeleteText(int(objects.size())),
                           {Localized::string(QStringLiteral("DELETE")), Localized::string(QStringLiteral("CANCEL"))},
                           [self, objects](int returnCode) {
                               if (self)
                                   self->alertEnded(returnCode, objects);
                           });
}

void NamedObjectsViewController::alertEnded(int returnCode, const QList<ManagedObject *> &objects)
{
    if (returnCode != AlertSheet::DefaultReturn)
        return;
    QList<ManagedObject *> live;
    for (ManagedObject *object : objects) {
        if (!object->isDeleted() && !object->value(QStringLiteral("deleted")).toBool())
            live << object;
    }
    if (live.isEmpty())
        return;
    deleteObjects(live);
    rearrangeArrayController();
}

void NamedObjectsViewController::deleteObjects(const QList<ManagedObject *> &objects)
{
    const QSet<const ManagedObject *> leaving(objects.cbegin(), objects.cend());
    for (ManagedObject *object : objects) {
        if (handOver(object, leaving) && object->value(QStringLiteral("guid")).toString().isEmpty())
            managedObjectContext()->deleteObject(object);
        else
            markDeleted(object);
    }
    NotificationCenter &center = NotificationCenter::defaultCenter();
    center.post(QStringLiteral("saveDataToDisk"), this);
    for (const QString &name : std::as_const(m_deletionNotifications))
        center.post(name, this);
}

bool NamedObjectsViewController::handOver(ManagedObject *, const QSet<const ManagedObject *> &)
{
    return true;
}

void NamedObjectsViewController::nameChangedNotification()
{
    // Only a name the user changed is checked: an edit ended without a change (Escape, the
    // same text) must not undo some other change in the store.
    ManagedObject *renamed = m_list->takeRenamedObject();
    if (!renamed || renamed->isDeleted())
        return;
    const QString name = NamedObjectArrayController::name(renamed);
    for (ManagedObject *other : m_list->arrangedObjects()) {
        if (other != renamed && NamedObjectArrayController::name(other) == name) {
            if (UndoManager *undo = managedObjectContext()->undoManager(); undo->canUndo())
                undo->undo();
            AlertSheet::beginSheet(mainWindow(), QStringLiteral("Error"), equalNameText());
            return;
        }
    }
    NotificationCenter::defaultCenter().post(QStringLiteral("saveDataToDisk"), this);
}

void NamedObjectsViewController::setSearchText(const QString &text)
{
    if (text.isEmpty())
        m_list->setFilterPredicate(m_notDeletedPredicate);
    else
        m_list->setFilterPredicate(Predicate::withFormat(QStringLiteral("(name contains[cd] %@) AND (deleted == 0)"), {text}));
}

void NamedObjectsViewController::showSearchField()
{
    Log::line(m_logLines.showSearchField);
    m_searchFieldShown = !m_searchFieldShown;
    setSearchBarActive(m_searchFieldShown);
    m_searchAnimation->stop();
    m_searchAnimation->setStartValue(m_searchBox->isVisible() ? m_searchBox->height() : 0);
    m_searchAnimation->setEndValue(m_searchFieldShown ? searchBarHeight : 0);
    if (m_searchFieldShown) {
        m_searchBox->show();
        m_searchField->setFocus();
    } else {
        // A filter left behind a hidden bar would hide objects with nothing on screen to say so.
        m_searchField->clear();
        m_table->setFocus();
    }
    m_searchAnimation->start();
}

void NamedObjectsViewController::rearrangeArrayController()
{
    // Rearranging drops the editor: a name being typed is kept, and the list rearranged once
    // the edit is over.
    if (m_table && m_table->isEditing()) {
        m_rearrangeAfterEdit = true;
        return;
    }
    m_list->rearrangeObjects();
}

bool NamedObjectsViewController::commitEditing()
{
    m_table->commitEditing();
    return true;
}

bool NamedObjectsViewController::keyDown(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Delete || event->key() == Qt::Key_Backspace) {
        removeObjectNotification();
        return true;
    }
    return false;
}

bool NamedObjectsViewController::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_searchField && event->type() == QEvent::KeyPress
        && static_cast<QKeyEvent *>(event)->key() == Qt::Key_Escape) {
        if (m_searchFieldShown)
            showSearchField();
        return false;
    }
    return ManagingViewController::eventFilter(watched, event);
}
