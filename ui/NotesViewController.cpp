#include "ui/NotesViewController.h"

#include "core/Defaults.h"
#include "core/Localized.h"
#include "core/Log.h"
#include "core/NotificationCenter.h"
#include "core/SettingsKeys.h"
#include "core/store/ManagedObjectContext.h"
#include "core/store/MyNote.h"
#include "core/store/MyNotebook.h"
#include "ui/ArrayController.h"
#include "ui/GlobalSearchController.h"
#include "ui/MoveTasksSheet.h"
#include "ui/MyNotesArrayController.h"
#include "ui/SearchBarBackground.h"
#include "ui/SimpleNoteCell.h"
#include "ui/TaskCompletion.h"
#include "ui/TaskEditSheet.h"
#include "ui/TaskTrash.h"
#include "ui_NotesView.h"

#include <QAction>
#include <QButtonGroup>
#include <QKeyEvent>
#include <QPropertyAnimation>

namespace {
const char *const sortKeys[] = {"title", "created", "dueDated", "mysorter"};
}

NotesViewController::NotesViewController(ManagedObjectContext *context, QObject *parent)
    : ManagingViewController(context, parent)
    , m_ui(std::make_unique<Ui::NotesView>())
    , m_tasks(new MyNotesArrayController(this))
    , m_notebooks(new ArrayController(this))
    , m_editSheet(new TaskEditSheet(context, view()))
    , m_moveSheet(new MoveTasksSheet(context, view()))
    , m_sortButtons(new QButtonGroup(this))
    , m_sdForName{SortDescriptor(QStringLiteral("name"), true, SortDescriptor::Comparison::LocalizedCaseInsensitive)}
    , m_notDeletedPredicate(Predicate::withFormat(QStringLiteral("deleted == 0")))
    , m_notActivePredicate(Predicate::withFormat(QStringLiteral("active == 1")))
    , m_notDeletedNotHidePredicate(Predicate::withFormat(QStringLiteral("(deleted == 0) && (hide == 0)")))
{
    m_ui->setupUi(view());
    setTitle(Localized::string(QStringLiteral("TASKS")));
    setSearchBarActive(false);

    // The notebook selector: the notebooks a user can show, by name.
    m_notebooks->setManagedObjectContext(context);
    m_notebooks->setEntityName(QLatin1String(MyNotebook::entityName));
    m_notebooks->setFetchPredicate(m_notDeletedNotHidePredicate);
    m_notebooks->setSortDescriptors(m_sdForName);
    m_ui->notebookPopUp->setModel(m_notebooks);
    connect(m_notebooks->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &NotesViewController::notebookSelectionChanged);
    connect(m_ui->notebookPopUp, &QComboBox::activated, this, [this](int row) {
        m_selectedNotebookIndex = row;
        m_notebooks->setSelectionIndexes({row});
    });

    // The task list.
    m_tasks->setManagedObjectContext(context);
    m_tasks->setCanMoveDelegate(this);
    m_tasks->showIn(m_ui->taskTable);
    m_ui->taskTable->setItemDelegate(new SimpleNoteCell(m_ui->taskTable));
    m_ui->taskTable->setDragEnabled(true);
    m_ui->taskTable->setAcceptDrops(true);
    m_ui->taskTable->setDropIndicatorShown(true);
    m_ui->taskTable->setDragDropMode(QAbstractItemView::DragDrop);
    m_ui->taskTable->setDefaultDropAction(Qt::MoveAction);
    connect(m_tasks, &ArrayController::arrangedObjectsChanged, this, &NotesViewController::postTasksCount);

    // The sort selector and the search bar.
    m_ui->sortByTitle->setText(Localized::string(QStringLiteral("SORT_TITLE")));
    m_ui->sortByCreated->setText(Localized::string(QStringLiteral("SORT_CREATED")));
    m_ui->sortByDueDate->setText(Localized::string(QStringLiteral("SORT_DUE")));
    m_ui->sortByHand->setText(Localized::string(QStringLiteral("SORT_HAND")));
    m_sortButtons->addButton(m_ui->sortByTitle, ByTitle);
    m_sortButtons->addButton(m_ui->sortByCreated, ByCreated);
    m_sortButtons->addButton(m_ui->sortByDueDate, ByDueDate);
    m_sortButtons->addButton(m_ui->sortByHand, ByHand);
    m_ui->sortByTitle->setToolTip(Localized::string(QStringLiteral("SORT_TITLE_TIP")));
    m_ui->sortByCreated->setToolTip(Localized::string(QStringLiteral("SORT_CREATED_TIP")));
    m_ui->sortByDueDate->setToolTip(Localized::string(QStringLiteral("SORT_DUE_TIP")));
    m_ui->sortByHand->setToolTip(Localized::string(QStringLiteral("SORT_HAND_TIP")));
    connect(m_sortButtons, &QButtonGroup::idClicked, this, [this](int tag) {
        Log::line(QStringLiteral("tag %i"), {tag});
        changeMainSortDescriptors(tag);
    });
    auto *globalSearch = new QAction(QIcon(QStringLiteral(":/images/toolbar_search.svg")),
                                     Localized::string(QStringLiteral("GLOBALSEARCH")), view());
    globalSearch->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_F));
    globalSearch->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    globalSearch->setToolTip(Localized::string(QStringLiteral("GLOBALSEARCH_TIP")));
    view()->addAction(globalSearch);
    m_ui->globalSearchButton->setDefaultAction(globalSearch);
    m_ui->globalSearchButton->setToolButtonStyle(Qt::ToolButtonIconOnly);
    connect(globalSearch, &QAction::triggered, this, &NotesViewController::launchGlobalSearch);
    m_ui->searchField->setPlaceholderText(Localized::string(QStringLiteral("SEARCH_TASKS")));
    m_ui->searchField->setMaximumHeight(0);
    m_ui->searchField->hide();
    m_ui->searchField->installEventFilter(this);
    connect(m_ui->searchField, &QLineEdit::textChanged, this, &NotesViewController::setSearchText);
    m_ui->dropLabel->setText(Localized::string(QStringLiteral("DROP_TO_MOVE")));
    m_ui->dropBox->setToolTip(Localized::string(QStringLiteral("DROP_TO_MOVE_TIP")));
    QFont dropFont = m_ui->dropLabel->font();
    dropFont.setPointSizeF(dropFont.pointSizeF() * 0.9);
    m_ui->dropLabel->setFont(dropFont);
    SearchBarBackground::fill(m_ui->sortOrderBox);
    SearchBarBackground::fill(m_ui->dropBox);

    connect(m_moveSheet, &MoveTasksSheet::moveRequested, this, &NotesViewController::moveMultipleTasks);
    observeNotifications();

    // Awake: the saved order, then the filter, then the notebook to show.
    m_tasks->setFilterPredicate(m_notActivePredicate);
    const int order = int(Defaults::standardUserDefaults().integerForKey(Key::notesOrder));
    changeMainSortDescriptors(order);
    m_notebooks->rearrangeObjects();
    changeSelectedNotebook(this);
}

NotesViewController::~NotesViewController()
{
    NotificationCenter::defaultCenter().removeObserver(this);
}

void NotesViewController::observeNotifications()
{
    NotificationCenter &center = NotificationCenter::defaultCenter();
    center.addObserver(this, QStringLiteral("dummyNotification"), [this](const Notification &) { dummyNotification(); });
    center.addObserver(this, QStringLiteral("tasksRestored"), [this](const Notification &) { rearrangeArrayController(); });
    center.addObserver(this, QStringLiteral("notebookArrayChanged"), [this](const Notification &) {
        MyNotebook *shown = selectedNotebook();
        m_notebooks->rearrangeObjects();
        // Keep showing the same notebook where it now sits in the order.
        if (shown && m_notebooks->indexOf(shown) >= 0)
            m_selectedNotebookIndex = m_notebooks->indexOf(shown);
        m_moveSheet->rearrangeNotebookList();
    });
    center.addObserver(this, QStringLiteral("tagArrayChanged"), [this](const Notification &) { m_editSheet->rearrangeTagList(); });
    center.addObserver(this, QStringLiteral("moveTasks"), [this](const Notification &n) {
        const QVariant indexes = n.userInfo.value(QStringLiteral("Indexes"));
        showMoveMultipleTasks(indexes.isValid() ? std::optional<QList<int>>(indexes.value<QList<int>>()) : std::nullopt);
    });
    center.addObserver(this, QStringLiteral("completedTasks"), [this](const Notification &) { markTasksAsCompleted(); });
}

MyNotebook *NotesViewController::selectedNotebook() const
{
    return static_cast<MyNotebook *>(m_notebooks->firstSelectedObject());
}

QList<MyNote *> NotesViewController::selectedTasks() const
{
    QList<MyNote *> tasks;
    for (ManagedObject *o : m_tasks->selectedObjects())
        tasks << static_cast<MyNote *>(o);
    return tasks;
}

void NotesViewController::changeSelectedNotebook(QObject *)
{
    Log::line(QStringLiteral("Selected notebook: %d"), {m_selectedNotebookIndex});
    m_notebooks->processPendingChanges();
    // A notebook deleted or hidden since the index was saved: show the first one instead.
    if (m_selectedNotebookIndex < 0 || m_selectedNotebookIndex >= m_notebooks->count())
        m_selectedNotebookIndex = 0;
    m_notebooks->setSelectionIndexes({m_selectedNotebookIndex});
    notebookSelectionChanged();
}

void NotesViewController::notebookSelectionChanged()
{
    MyNotebook *notebook = selectedNotebook();
    const int row = m_notebooks->indexOf(notebook);
    if (row >= 0) {
        m_selectedNotebookIndex = row;
        if (m_ui->notebookPopUp->currentIndex() != row)
            m_ui->notebookPopUp->setCurrentIndex(row);
    }
    if (m_tasks->contentOwner() != notebook || !notebook)
        m_tasks->setContentRelationship(notebook, QStringLiteral("notes"));
}

void NotesViewController::changeMainSortDescriptors(int order)
{
    if (order < ByTitle || order > ByHand)
        return;
    m_selectedSortOrder = order;
    if (QAbstractButton *button = m_sortButtons->button(order))
        button->setChecked(true);
    m_tasks->setSortDescriptors({});
    m_tasks->setSortDescriptors({SortDescriptor(QString::fromLatin1(sortKeys[order]))});
    rearrangeArrayController();
    Defaults::standardUserDefaults().setInteger(Key::notesOrder, order);
}

void NotesViewController::rearrangeArrayController()
{
    try {
        m_tasks->rearrangeObjects();
    } catch (const std::exception &e) {
        // A list that cannot be re-sorted keeps its rows as they are.
        Log::line(QStringLiteral("Could not arrange the task list: %@"), {QString::fromUtf8(e.what())});
    }
}

void NotesViewController::setSearchText(const QString &text)
{
    if (text.isEmpty()) {
        m_tasks->setFilterPredicate(m_notActivePredicate);
        return;
    }
    if (Defaults::standardUserDefaults().boolForKey(Key::SearchInContent))
        m_tasks->setFilterPredicate(Predicate::withFormat(
            QStringLiteral("((title contains[cd] %@) OR (ANY tags.name contains[cd] %@) OR (content contains[cd] %@)) AND (active == 1)"),
            {text, text, text}));
    else
        m_tasks->setFilterPredicate(Predicate::withFormat(
            QStringLiteral("((title contains[cd] %@) OR (ANY tags.name contains[cd] %@)) AND (active == 1)"), {text, text}));
}

void NotesViewController::showSearchField()
{
    Log::line(QStringLiteral("Note: show search field"));
    QLineEdit *field = m_ui->searchField;
    const bool show = !m_searchFieldShown;
    m_searchFieldShown = show;
    setSearchBarActive(show);
    auto *animation = new QPropertyAnimation(field, "maximumHeight", field);
    animation->setDuration(150);
    animation->setStartValue(show ? 0 : searchBarHeight);
    animation->setEndValue(show ? searchBarHeight : 0);
    if (show) {
        field->show();
        field->setFocus();
    } else {
        connect(animation, &QPropertyAnimation::finished, field, &QWidget::hide);
        // A filter left behind a hidden bar would hide tasks with nothing on screen to say so.
        field->clear();
        m_ui->taskTable->setFocus();
    }
    animation->start(QAbstractAnimation::DeleteWhenStopped);
}

void NotesViewController::newObjectNotification()
{
    Log::line(QStringLiteral("Note: add Object"));
    ManagedObjectContext *context = managedObjectContext();
    MyNotebook *notebook = selectedNotebook();
    if (!context || !notebook)
        return;
    auto *task = context->insert<MyNote>();
    task->setNotebook(notebook);
    m_tasks->processPendingChanges();
    if (m_tasks->setSelectedObjects({task}))
        editFirstSelectedTask(true);
}

void NotesViewController::editObjectNotification()
{
    editFirstSelectedTask(false);
}

void NotesViewController::editFirstSelectedTask(bool newTask)
{
    Log::line(QStringLiteral("Note: edit Object"));
    const QList<MyNote *> tasks = selectedTasks();
    if (!tasks.isEmpty())
        m_editSheet->beginEditing(tasks.first(), mainWindow(), this, newTask);
}

void NotesViewController::removeObjectNotification()
{
    Log::line(QStringLiteral("Note: remove Object"));
    TaskTrash::moveTasksToTrash(mainWindow(), selectedTasks(), this);
}

void NotesViewController::markTasksAsCompleted()
{
    TaskCompletion::markTasksAsCompleted(managedObjectContext(), selectedTasks(), this);
}

void NotesViewController::showMoveMultipleTasks(const std::optional<QList<int>> &rows)
{
    m_rowsToMove = rows;
    m_moveSheet->begin(mainWindow(), selectedNotebook());
}

void NotesViewController::moveMultipleTasks(MyNotebook *target)
{
    if (m_rowsToMove)
        m_tasks->setSelectionIndexes(*m_rowsToMove);
    m_rowsToMove.reset();
    if (target)
        tasksChangeToNotebook(target);
}

void NotesViewController::tasksChangeToNotebook(MyNotebook *notebook)
{
    if (!notebook)
        return;
    for (MyNote *task : selectedTasks())
        task->setNotebook(notebook);
    NotificationCenter::defaultCenter().post(QStringLiteral("saveDataToDisk"), this);
}

int NotesViewController::numberOfTasksInArray() const
{
    return m_tasks->count();
}

bool NotesViewController::canMove() const
{
    return m_selectedSortOrder == ByHand;
}

void NotesViewController::postTasksCount()
{
    NotificationCenter::defaultCenter().post(QStringLiteral("tasksCountChanged"), this,
                                             {{QStringLiteral("arrayCount"), m_tasks->count()},
                                              {QStringLiteral("viewController"), 0}});
}

void NotesViewController::launchGlobalSearch()
{
    if (m_globalSearchController)
        return;
    m_oldSelectedNotebookIndex = m_selectedNotebookIndex;
    QWidget *window = mainWindow();
    m_globalSearchController = new GlobalSearchController(window ? window->geometry() : view()->geometry(),
                                                          managedObjectContext(), this, window);
    m_globalSearchController->runModal();
}

void NotesViewController::editSearchedObject(MyNote *task)
{
    if (!task || task->isDeleted())
        return;
    m_notebooks->processPendingChanges();
    const int row = m_notebooks->indexOf(task->notebook());
    if (row >= 0) {
        m_selectedNotebookIndex = row;
        changeSelectedNotebook(this);
    }
    if (m_tasks->setSelectedObjects({task}))
        editObjectNotification();
}

void NotesViewController::releaseSearchedObject()
{
    // Called from inside the search window's own event handling.
    if (m_globalSearchController)
        m_globalSearchController->deleteLater();
    m_globalSearchController = nullptr;
    m_selectedNotebookIndex = m_oldSelectedNotebookIndex;
    changeSelectedNotebook(this);
}

void NotesViewController::dummyNotification()
{
    // A task made and dropped at once: the list and the notebook's tasks are brought up to
    // date with what the synchronisation wrote.
    ManagedObjectContext *context = managedObjectContext();
    MyNotebook *notebook = selectedNotebook();
    if (!context || !notebook)
        return;
    context->undoManager()->disableUndoRegistration();
    auto *task = context->insert<MyNote>();
    task->setNotebook(notebook);
    context->deleteObject(task);
    context->undoManager()->enableUndoRegistration();
    rearrangeArrayController();
}

bool NotesViewController::keyDown(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Delete || event->key() == Qt::Key_Backspace) {
        removeObjectNotification();
        return true;
    }
    return false;
}

bool NotesViewController::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_ui->searchField && event->type() == QEvent::KeyPress
        && static_cast<QKeyEvent *>(event)->key() == Qt::Key_Escape) {
        if (m_searchFieldShown)
            showSearchField();
        return false;
    }
    return ManagingViewController::eventFilter(watched, event);
}
