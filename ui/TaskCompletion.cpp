#include "ui/TaskCompletion.h"

#include "core/Defaults.h"
#include "core/ErrorPresenter.h"
#include "core/Localized.h"
#include "core/NotificationCenter.h"
#include "core/SettingsKeys.h"
#include "core/platform/SystemSound.h"
#include "core/store/ManagedObjectContext.h"
#include "core/store/MyNote.h"
#include "core/store/MyNotebook.h"

MyNotebook *TaskCompletion::completedTasksNotebook(ManagedObjectContext *context)
{
    const Defaults &defaults = Defaults::standardUserDefaults();
    const QString name = defaults.stringForKey(Key::notebookForCompleted);
    if (!context || !defaults.boolForKey(Key::enableNotebookForCompleted) || name.isEmpty())
        return nullptr;
    try {
        const auto found = context->fetch(QLatin1String(MyNotebook::entityName),
                                          Predicate::withFormat(QStringLiteral("name like %@"), {name}));
        return found.isEmpty() ? nullptr : static_cast<MyNotebook *>(found.first());
    } catch (const std::exception &e) {
        // The tasks are still completed, where they are.
        ErrorPresenter::present(AppError{QStringLiteral("KelvaraStore"), 0,
                                         Localized::string(QStringLiteral("COMPLETED_NOTEBOOK_ERROR")),
                                         QString::fromUtf8(e.what()), {}});
        return nullptr;
    }
}

void TaskCompletion::markTasksAsCompleted(ManagedObjectContext *context, const QList<MyNote *> &tasks, const void *sender)
{
    MyNotebook *completedNotebook = completedTasksNotebook(context);
    for (MyNote *task : tasks) {
        const bool wasCompleted = task->completed();
        task->setCompleted(!wasCompleted);
        // A task being reopened stays where it is.
        if (!wasCompleted && completedNotebook)
            task->setNotebook(completedNotebook);
    }
    const QString sound = Defaults::standardUserDefaults().stringForKey(Key::completedSound);
    if (sound != Localized::string(QStringLiteral("NONE")))
        SystemSound::play(sound);
    NotificationCenter::defaultCenter().post(QStringLiteral("saveDataToDisk"), sender);
}
