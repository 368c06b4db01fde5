#pragma once

#include "app/TasksStatusPanelController.h"

#include <memory>

namespace Ui {
class ShowTasksFinish;
}

// The panel shown at quit: the open tasks due today, the overdue ones and tomorrow's.
class ShowTasksFinishController : public TasksStatusPanelController
{
    Q_OBJECT
public:
    // Centred on `frame`, the main window's frame.
    ShowTasksFinishController(const QRect &frame, int todayTasks, int overdueTasks, int tomorrowTasks,
                              QWidget *parent = nullptr);
    ~ShowTasksFinishController() override;

    int tasksForTomorrow() const { return m_tasksForTomorrow; }

    Ui::ShowTasksFinish &ui() { return *m_ui; }

protected:
    void fillLabels() override;

private:
    std::unique_ptr<Ui::ShowTasksFinish> m_ui;
    int m_tasksForTomorrow;
};
