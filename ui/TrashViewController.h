#pragma once

#include "ui/ManagingViewController.h"

#include <memory>

namespace Ui {
class TrashView;
}

// The tasks in the trash, to restore or expunge.
class TrashViewController : public ManagingViewController
{
    Q_OBJECT
public:
    explicit TrashViewController(ManagedObjectContext *context, QObject *parent = nullptr);
    ~TrashViewController() override;

private:
    std::unique_ptr<Ui::TrashView> m_ui;
};
