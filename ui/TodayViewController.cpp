#include "ui/TodayViewController.h"

#include "core/Clock.h"
#include "core/DayBoundaries.h"
#include "core/Defaults.h"
#include "core/Localized.h"
#include "core/Log.h"
#include "core/NotificationCenter.h"
#include "core/SettingsKeys.h"
#include "core/store/TaskCounts.h"
#include "ui/AlertSheet.h"
#include "core/store/ManagedObjectContext.h"
#include "core/store/MyNote.h"
#include "core/store/MyNotebook.h"
#include "ui/ArrayController.h"
#include "ui/MyTodayNotesArrayController.h"
#include "ui/SearchBarBackground.h"
#include "ui/TaskCompletion.h"
#include "ui/TaskEditSheet.h"
#include "ui/TaskTrash.h"
#include "ui_TodayView.h"

#include <QButtonGroup>
#include <QKeyEvent>

#include <exception>

namespace {
const QString dueInRangeFormat =
    QStringLiteral("(active == 1) && (dueDated >= %@) && (dueDated <= %@) && (notebook.hide == 0)");
const QString laterFormat = QStringLiteral("(active == 1) && (dueDated > %@) && (notebook.hide == 0)");
} // namespace

TodayViewController::TodayViewController(ManagedObjectContext *context, QObject *parent)
    : ManagingViewController(context, parent)
    , m_ui(std::make_unique<Ui::TodayView>())
    , m_tasks(new MyTodayNotesArrayController(this))
    , m_notebooks(new ArrayController(this))
    , m_editSheet(new TaskEditSheet(context, view()))
    , m_dayButtons(new QButtonGroup(this))
    , m_sdForName{SortDescriptor(QStringLiteral("name"), true, SortDescriptor::Comparison::LocalizedCaseInsensitive)}
    , m_notDeletedNotHidePredicate(Predicate::withFormat(QStringLiteral("(deleted == 0) && (hide == 0)")))
{
    m_ui->setupUi(view());
    setTitle(Localized::string(QStringLiteral("TODAY")));

    // The notebooks new tasks may go to: those the lists show.
    m_notebooks->setManagedObjectContext(context);
    m_notebooks->setEntityName(QLatin1String(MyNotebook::entityName));
    m_notebooks->setFetchPredicate(m_notDeletedNotHidePredicate);
    m_notebooks->setSortDescriptors(m_sdForName);

    // Every task of the store; the day range is the list's fetch predicate, so that choosing a
    // range arranges the list once.
    m_tasks->setManagedObjectContext(context);
    m_tasks->setEntityName(QLatin1String(MyNote::entityName));
    m_tasks->showIn(m_ui->taskTable);
    connect(m_tasks, &ArrayController::arrangedObjectsChanged, this, &TodayViewController::postTasksCount);

    m_ui->overdueButton->setText(Localized::string(QStringLiteral("OVERDUE")));
    m_ui->todayButton->setText(Localized::string(QStringLiteral("TODAY")));
    m_ui->tomorrowButton->setText(Localized::string(QStringLiteral("TOMORROW")));
    m_ui->laterButton->setText(Localized::string(QStringLiteral("LATER")));
    m_dayButtons->addButton(m_ui->overdueButton, Overdue);
    m_dayButtons->addButton(m_ui->todayButton, Today);
    m_dayButtons->addButton(m_ui->tomorrowButton, Tomorrow);
    m_dayButtons->addButton(m_ui->laterButton, Later);
    connect(m_dayButtons, &QButtonGroup::idClicked, this, &TodayViewController::changeMainPredicate);
    SearchBarBackground::fill(m_ui->dayBox);

    observeNotifications();
    changeMainPredicate(Today);
}

TodayViewController::~TodayViewController()
{
    NotificationCenter::defaultCenter().removeObserver(this);
}

void TodayViewController::observeNotifications()
{
    NotificationCenter &center = NotificationCenter::defaultCenter();
    center.addObserver(this, QStringLiteral("tasksRestored"), [this](const Notification &) { rearrangeArrayController(); });
    center.addObserver(this, QStringLiteral("notebookArrayChanged"), [this](const Notification &) { m_notebooks->rearrangeObjects(); });
    center.addObserver(this, QStringLiteral("tagArrayChanged"), [this](const Notification &) { m_editSheet->rearrangeTagList(); });
    center.addObserver(this, QStringLiteral("completedTasksInToday"), [this](const Notification &) { markTasksAsCompleted(); });
}

void TodayViewController::changeMainPredicate(int tag)
{
    m_selectedTag = tag;
    Predicate range;
    std::vector<SortDescriptor> order;
    const QDateTime now = Clock::now();
    switch (tag) {
    case Overdue:
        order = {SortDescriptor(QStringLiteral("dueDated"), false), SortDescriptor(QStringLiteral("title"))};
        range = Predicate::withFormat(QLatin1String(TaskCounts::overdueFormat), {DayBoundaries::finishInDays(now, -1)});
        break;
    case Today:
    case Tomorrow: {
        // From the end of the day before to the end of the day, both included.
        const int day = tag == Today ? 0 : 1;
        order = {SortDescriptor(QStringLiteral("title"))};
        range = Predicate::withFormat(dueInRangeFormat, {DayBoundaries::finishInDays(now, day - 1),
                                                         DayBoundaries::finishInDays(now, day)});
        break;
    }
    case Later:
        order = {SortDescriptor(QStringLiteral("dueDated")), SortDescriptor(QStringLiteral("title"))};
        range = Predicate::withFormat(laterFormat, {DayBoundaries::finishInDays(now, 1)});
        break;
    default:
        return;
    }
    m_rangeDay = DayBoundaries::dayOf(now);
    if (QAbstractButton *button = m_dayButtons->button(tag))
        button->setChecked(true);
    m_tasks->setFetchPredicate(range);
    try {
        m_tasks->setSortDescriptors(std::move(order)); // arranges the list
    } catch (const std::exception &e) {
        Log::line(QStringLiteral("Could not arrange the Today list: %@"), {QString::fromUtf8(e.what())});
    }
}

void TodayViewController::rearrangeArrayController()
{
    if (DayBoundaries::dayOf(Clock::now()) != m_rangeDay) {
        changeMainPredicate(m_selectedTag);
        return;
    }
    try {
        m_tasks->rearrangeObjects();
    } catch (const std::exception &e) {
        // A list that cannot be re-sorted keeps its rows as they are.
        Log::line(QStringLiteral("Could not arrange the Today list: %@"), {QString::fromUtf8(e.what())});
    }
}

MyNotebook *TodayViewController::defaultNotebook() const
{
    const QString guid = Defaults::standardUserDefaults().stringForKey(Key::defaultNotebook);
    // A notebook never sent to the service has an empty guid: an empty setting names none.
    if (!guid.isEmpty() && managedObjectContext()) {
        const auto found = managedObjectContext()->fetch(QLatin1String(MyNotebook::entityName),
                                                         Predicate::withFormat(QStringLiteral("guid like %@"), {guid}));
        // A deleted or hidden notebook would take the new task out of sight.
        if (!found.isEmpty() && m_notDeletedNotHidePredicate.evaluate(found.first()))
            return static_cast<MyNotebook *>(found.first());
    }
    m_notebooks->processPendingChanges();
    return static_cast<MyNotebook *>(m_notebooks->objectAt(0));
}

void TodayViewController::newObjectNotification()
{
    if (m_selectedTag == Overdue) {
        AlertSheet::beginSheet(mainWindow(), QStringLiteral("Error"), Localized::string(QStringLiteral("NOTCREATEOVERDUETASK")));
        return;
    }
    ManagedObjectContext *context = managedObjectContext();
    MyNotebook *notebook = defaultNotebook();
    if (!context || !notebook)
        return;
    // The new task is due on the first day of the range shown: a "later" task the day after tomorrow.
    const int inDays = m_selectedTag == Tomorrow ? 1 : m_selectedTag == Later ? 2 : 0;
    auto *task = context->insert<MyNote>();
    task->setNotebook(notebook);
    task->setDueDated(DayBoundaries::justStartInDays(inDays));
    rearrangeArrayController();
    if (m_tasks->setSelectedObjects({task}))
        editFirstSelectedTask(true);
}

void TodayViewController::editObjectNotification()
{
    editFirstSelectedTask(false);
}

void TodayViewController::editFirstSelectedTask(bool newTask)
{
    const QList<MyNote *> tasks = selectedTasks();
    if (!tasks.isEmpty())
        m_editSheet->beginEditing(tasks.first(), mainWindow(), this, newTask);
}

void TodayViewController::removeObjectNotification()
{
    TaskTrash::moveTasksToTrash(mainWindow(), selectedTasks(), this);
}

void TodayViewController::markTasksAsCompleted()
{
    TaskCompletion::markTasksAsCompleted(managedObjectContext(), selectedTasks(), this);
}

int TodayViewController::numberOfTasksInArray() const
{
    return m_tasks->count();
}

QList<MyNote *> TodayViewController::selectedTasks() const
{
    QList<MyNote *> tasks;
    for (ManagedObject *o : m_tasks->selectedObjects())
        tasks << static_cast<MyNote *>(o);
    return tasks;
}

void TodayViewController::postTasksCount()
{
    NotificationCenter::defaultCenter().post(QStringLiteral("tasksCountChanged"), this,
                                             {{QStringLiteral("arrayCount"), m_tasks->count()},
                                              {QStringLiteral("viewController"), 1}});
}

bool TodayViewController::keyDown(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Delete || event->key() == Qt::Key_Backspace) {
        removeObjectNotification();
        return true;
    }
    return false;
}
