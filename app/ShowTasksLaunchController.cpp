#include "app/ShowTasksLaunchController.h"

#include "core/Localized.h"

#include "ui_ShowTasksLaunch.h"

ShowTasksLaunchController::ShowTasksLaunchController(const QRect &frame, int todayTasks, int overdueTasks,
                                                     QWidget *parent)
    : TasksStatusPanelController(todayTasks, overdueTasks, parent)
    , m_ui(std::make_unique<Ui::ShowTasksLaunch>())
{
    m_ui->setupUi(this);
    windowLoaded(frame, m_ui->iconLabel, m_ui->headLabel, m_ui->button);
}

ShowTasksLaunchController::~ShowTasksLaunchController() = default;

void ShowTasksLaunchController::fillLabels()
{
    m_ui->headLabel->setText(Localized::string(QStringLiteral("YOUHAVE")));
    m_ui->todayDescLabel->setText(phrase(tasksForToday(), "NOTASKSTODAY", "ONETASKTODAY", "TASKSTODAY"));
    m_ui->andLabel->setText(Localized::string(QStringLiteral("AND")));
    m_ui->overdueDescLabel->setText(phrase(tasksOverdue(), "NOTASKSOVERDUE", "ONETASKOVERDUE", "TASKSOVERDUE"));
    m_ui->button->setText(Localized::string(QStringLiteral("LETSGO")));
}
