#pragma once

#include "ui/ManagingViewController.h"

#include <memory>

namespace Ui {
class TodayView;
}

// The tasks due on a chosen day: overdue, today, tomorrow and later.
class TodayViewController : public ManagingViewController
{
    Q_OBJECT
public:
    explicit TodayViewController(ManagedObjectContext *context, QObject *parent = nullptr);
    ~TodayViewController() override;

private:
    std::unique_ptr<Ui::TodayView> m_ui;
};
