#include "ui/TaskTrash.h"

#include "core/Localized.h"
#include "core/NotificationCenter.h"
#include "ui/AlertSheet.h"
#include "core/store/MyNote.h"
#include "ui/PluralText.h"

#include <QPointer>

void TaskTrash::moveTasksToTrash(QWidget *window, const QList<MyNote *> &tasks, QObject *sender)
{
    if (tasks.isEmpty())
        return;
    QPointer<QObject> poster(sender);
    AlertSheet::beginSheet(window, Localized::string(QStringLiteral("DELETE")),
                           PluralText::format(int(tasks.size()), Localized::string(QStringLiteral("SURE_DELETE_ONE")),
                                              Localized::string(QStringLiteral("SURE_DELETE"))),
                           {Localized::string(QStringLiteral("DELETE")), Localized::string(QStringLiteral("CANCEL"))},
                           [poster, tasks](int code) {
                               if (code != AlertSheet::DefaultReturn || !poster)
                                   return;
                               // A task the synchronisation removed while the alert was up is gone.
                               for (MyNote *task : tasks) {
                                   if (!task->isDeleted())
                                       task->setActive(false);
                               }
                               NotificationCenter::defaultCenter().post(QStringLiteral("saveDataToDisk"), poster.data());
                               NotificationCenter::defaultCenter().post(QStringLiteral("tasksDeleted"), poster.data());
                           });
}
