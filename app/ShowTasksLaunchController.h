#pragma once

#include "app/TasksStatusPanelController.h"

#include <memory>

namespace Ui {
class ShowTasksLaunch;
}

// The panel shown at launch: how many open tasks are due today and how many are overdue.
class ShowTasksLaunchController : public TasksStatusPanelController
{
    Q_OBJECT
public:
    // Centred on `frame`, the main window's frame.
    ShowTasksLaunchController(const QRect &frame, int todayTasks, int overdueTasks, QWidget *parent = nullptr);
    ~ShowTasksLaunchController() override;

    Ui::ShowTasksLaunch &ui() { return *m_ui; }

protected:
    void fillLabels() override;

private:
    std::unique_ptr<Ui::ShowTasksLaunch> m_ui;
};
