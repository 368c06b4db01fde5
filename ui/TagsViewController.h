#pragma once

#include "ui/NamedObjectsViewController.h"

#include <memory>

namespace Ui {
class TagsView;
}

// The tags: add (the name opens for typing at once), rename, search and delete. A tag the
// service knows stays in the store, and on its tasks, marked deleted until synchronisation
// deletes it there; one never synchronised leaves the store. Tasks are not touched.
class TagsViewController : public NamedObjectsViewController
{
    Q_OBJECT
public:
    explicit TagsViewController(ManagedObjectContext *context, QObject *parent = nullptr);
    ~TagsViewController() override;

    Ui::TagsView &ui() { return *m_ui; }

protected:
    ManagedObject *insertNewObject() override;
    void markDeleted(ManagedObject *object) override;
    QString equalNameText() const override;
    QString sureDeleteText(int count) const override;

private:
    std::unique_ptr<Ui::TagsView> m_ui;
};
