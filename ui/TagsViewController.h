#pragma once

#include "ui/ManagingViewController.h"

#include <memory>

namespace Ui {
class TagsView;
}

// The tags, to add, rename and delete.
class TagsViewController : public ManagingViewController
{
    Q_OBJECT
public:
    explicit TagsViewController(ManagedObjectContext *context, QObject *parent = nullptr);
    ~TagsViewController() override;

private:
    std::unique_ptr<Ui::TagsView> m_ui;
};
