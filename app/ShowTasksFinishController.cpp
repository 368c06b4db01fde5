#include "app/ShowTasksFinishController.h"

#include "core/Localized.h"

#include "ui_ShowTasksFinish.h"

ShowTasksFinishController::ShowTasksFinishController(const QRect &frame, int todayTasks, int overdueTasks,
                                                     int tomorrowTasks, QWidget *parent)
    : TasksStatusPanelController(todayTasks, overdueTasks, parent)
    , m_ui(std::make_unique<Ui::ShowTasksFinish>())
    , m_tasksForTomorrow(tomorrowTasks)
{
    m_ui->setupUi(this);
    windowLoaded(frame, m_ui->iconLabel, m_ui->headLabel, m_ui->button);
}

ShowTasksFinishController::~ShowTasksFinishController() = default;

void ShowTasksFinishController::fillLabels()
{
    const QString andText = Localized::string(QStringLiteral("AND"));
    m_ui->headLabel->setText(Localized::string(QStringLiteral("YOUHAVE")));
    m_ui->todayDescLabel->setText(phrase(tasksForToday(), "NOTASKSTODAY", "ONETASKTODAY", "TASKSTODAY"));
    m_ui->andLabel->setText(andText);
    m_ui->overdueDescLabel->setText(phrase(tasksOverdue(), "NOTASKSOVERDUE", "ONETASKOVERDUE", "TASKSOVERDUE"));
    m_ui->secondAndLabel->setText(andText);
    m_ui->tomorrowDescLabel->setText(phrase(tasksForTomorrow(), "NOTASKSTOMORROW", "ONETASKTOMORROW", "TASKSTOMORROW"));
    m_ui->button->setText(Localized::string(QStringLiteral("SEESOON")));
}
