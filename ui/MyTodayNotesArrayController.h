#pragma once

#include "ui/MyNotesArrayController.h"

// The Today view's task list: the task list's rows with their tooltips (the task's notes), but
// no drag and drop. Its rows come from every notebook, in an order the user cannot change.
class MyTodayNotesArrayController : public MyNotesArrayController
{
    Q_OBJECT
public:
    using MyNotesArrayController::MyNotesArrayController;

    Qt::ItemFlags flags(const QModelIndex &index) const override;
    Qt::DropActions supportedDragActions() const override { return Qt::IgnoreAction; }
    Qt::DropActions supportedDropActions() const override { return Qt::IgnoreAction; }
    QStringList mimeTypes() const override { return {}; }
    QMimeData *mimeData(const QModelIndexList &) const override { return nullptr; }
    bool canDropMimeData(const QMimeData *, Qt::DropAction, int, int, const QModelIndex &) const override
    {
        return false;
    }
    bool dropMimeData(const QMimeData *, Qt::DropAction, int, int, const QModelIndex &) override { return false; }
};
