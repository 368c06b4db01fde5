#pragma once

#include "ui/ManagingViewController.h"

#include <memory>

namespace Ui {
class NotebooksView;
}

// The notebooks, to add, rename, hide and delete.
class NotebooksViewController : public ManagingViewController
{
    Q_OBJECT
public:
    explicit NotebooksViewController(ManagedObjectContext *context, QObject *parent = nullptr);
    ~NotebooksViewController() override;

private:
    std::unique_ptr<Ui::NotebooksView> m_ui;
};
