#include "ui/TrashViewController.h"

#include "core/Localized.h"
#include "core/NotificationCenter.h"
#include "ui/AlertSheet.h"
#include "core/store/ManagedObjectContext.h"
#include "core/store/MyNote.h"
#include "core/store/MyNotebook.h"
#include "core/store/Predicate.h"
#include "core/store/SortDescriptor.h"
#include "ui/ArrayController.h"
#include "core/store/ReceivingNotebook.h"
#include "ui/SearchBarBackground.h"
#include "ui/SimpleNoteCellWithNotebook.h"
#include "ui/PluralText.h"

#include "ui_TrashView.h"

#include <QPointer>

TrashViewController::TrashViewController(ManagedObjectContext *context, QObject *parent)
    : ManagingViewController(context, parent)
    , m_ui(std::make_unique<Ui::TrashView>())
    , m_tasks(new ArrayController(this))
{
    m_ui->setupUi(view());
    setTitle(Localized::string(QStringLiteral("TRASH")));

    NotificationCenter::defaultCenter().addObserver(this, QStringLiteral("tasksDeleted"),
                                                    [this](const Notification &) { rearrangeArrayController(); });
    m_tasks->setManagedObjectContext(context);
    m_tasks->setEntityName(QLatin1String(MyNote::entityName));
    m_tasks->setFilterPredicate(Predicate::withFormat(QStringLiteral("(active == 0)  AND (toExpunged == 0)")));
    m_tasks->setSortDescriptors({SortDescriptor(QStringLiteral("title"))});

    QListView *table = m_ui->taskTable;
    m_tasks->showIn(table);
    // The cards name the notebook a task goes back to.
    table->setItemDelegate(new SimpleNoteCellWithNotebook(table));
    table->setSelectionMode(QAbstractItemView::ExtendedSelection);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setUniformItemSizes(true);
    QPalette palette = table->palette();
    palette.setColor(QPalette::Base, QColor::fromRgbF(0.837f, 0.864f, 0.902f));
    table->setPalette(palette);

    m_ui->restoreButton->setText(Localized::string(QStringLiteral("RESTORE")));
    m_ui->expungeButton->setText(Localized::string(QStringLiteral("EXPUNGE")));
    connect(m_ui->restoreButton, &QPushButton::clicked, this, &TrashViewController::restoreTasks);
    connect(m_ui->expungeButton, &QPushButton::clicked, this, &TrashViewController::expungeTasks);
    SearchBarBackground::fill(m_ui->buttonBox);
}

TrashViewController::~TrashViewController()
{
    NotificationCenter::defaultCenter().removeObserver(this);
}

void TrashViewController::rearrangeArrayController()
{
    m_tasks->rearrangeObjects();
}

void TrashViewController::ask(const QList<ManagedObject *> &tasks, const QString &message,
                              const QString &informativeText, const QString &defaultButton, Answer answer)
{
    // The tasks asked about are the ones acted on, whatever the list does meanwhile.
    QPointer<TrashViewController> self(this);
    AlertSheet::beginSheet(mainWindow(), message, informativeText,
                           {defaultButton, Localized::string(QStringLiteral("CANCEL"))},
                           [self, tasks, answer](int returnCode) {
                               if (self)
                                   (self->*answer)(returnCode, tasks);
                           });
}

void TrashViewController::restoreTasks()
{
    const QList<ManagedObject *> tasks = m_tasks->selectedObjects();
    if (tasks.isEmpty())
        return;
    ask(tasks, Localized::string(QStringLiteral("RESTORE")),
        PluralText::format(int(tasks.size()), Localized::string(QStringLiteral("SURE_RESTORE_ONE")),
                           Localized::string(QStringLiteral("SURE_RESTORE"))),
        Localized::string(QStringLiteral("RESTORE")), &TrashViewController::alertRestoreEnded);
}

void TrashViewController::expungeTasks()
{
    const QList<ManagedObject *> tasks = m_tasks->selectedObjects();
    if (tasks.isEmpty())
        return;
    ask(tasks, Localized::string(QStringLiteral("DELETE")),
        PluralText::format(int(tasks.size()), Localized::string(QStringLiteral("SURE_EXPUNGE_ONE")),
                           Localized::string(QStringLiteral("SURE_EXPUNGE"))),
        Localized::string(QStringLiteral("DELETE")), &TrashViewController::alertDeleteEnded);
}

QList<MyNote *> TrashViewController::stillInTrash(const QList<ManagedObject *> &tasks)
{
    QList<MyNote *> result;
    for (ManagedObject *object : tasks) {
        auto *task = static_cast<MyNote *>(object);
        if (!task->isDeleted() && !task->active() && !task->toExpunged())
            result << task;
    }
    return result;
}

void TrashViewController::alertRestoreEnded(int returnCode, const QList<ManagedObject *> &tasks)
{
    if (returnCode != AlertSheet::DefaultReturn)
        return;
    const QList<MyNote *> restoring = stillInTrash(tasks);
    if (restoring.isEmpty())
        return;
    QList<ManagedObject *> notebooks;
    for (MyNote *task : restoring) {
        // A task whose notebook is gone would come back where no view can reach it.
        MyNotebook *notebook = task->notebook();
        if (!notebook || notebook->isDeleted() || notebook->deleted()) {
            if (notebooks.isEmpty()) {
                notebooks = managedObjectContext()->fetch(
                    QLatin1String(MyNotebook::entityName), Predicate::withFormat(QStringLiteral("deleted == 0")),
                    {SortDescriptor(QStringLiteral("name"), true, SortDescriptor::Comparison::LocalizedCaseInsensitive)});
            }
            if (MyNotebook *receiving = ReceivingNotebook::find(managedObjectContext(), notebooks, nullptr))
                task->setNotebook(receiving);
        }
        task->setActive(true);
    }
    NotificationCenter &center = NotificationCenter::defaultCenter();
    center.post(QStringLiteral("saveDataToDisk"), this);
    center.post(QStringLiteral("tasksRestored"), this);
    rearrangeArrayController();
}

void TrashViewController::alertDeleteEnded(int returnCode, const QList<ManagedObject *> &tasks)
{
    if (returnCode != AlertSheet::DefaultReturn)
        return;
    const QList<MyNote *> expunging = stillInTrash(tasks);
    if (expunging.isEmpty())
        return;
    for (MyNote *task : expunging) {
        if (task->guid().isEmpty())
            managedObjectContext()->deleteObject(task);
        else
            task->setToExpunged(true);
    }
    NotificationCenter::defaultCenter().post(QStringLiteral("saveDataToDisk"), this);
    rearrangeArrayController();
}
