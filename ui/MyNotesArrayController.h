#pragma once

#include "ui/ArrayController.h"

#include <QList>

class MyNotesTableViewCanMoveProtocol;

// The task list's array controller: the rows are a drag source carrying their indexes under
// the application's private type, and a single row dropped on the list, while the list is in
// its hand-kept order, renumbers `mysorter` so the tasks listed carry 0..n-1 in the new order.
class MyNotesArrayController : public ArrayController
{
    Q_OBJECT
public:
    static constexpr const char *dragType = "MyOwnTableViewDataType";
    // Tooltips show at most this much of a task's notes.
    static constexpr int tooltipLength = 600;

    explicit MyNotesArrayController(QObject *parent = nullptr);

    void setCanMoveDelegate(const MyNotesTableViewCanMoveProtocol *delegate) { m_canMoveDelegate = delegate; }

    static QByteArray archiveRows(const QList<int> &rows);
    static QList<int> unarchiveRows(const QByteArray &data);
    // The new `mysorter` of every listed task when row `from` is dropped above row `to`.
    static QList<int> renumbered(int from, int to, int count);

    Qt::ItemFlags flags(const QModelIndex &index) const override;
    Qt::DropActions supportedDragActions() const override { return Qt::MoveAction; }
    Qt::DropActions supportedDropActions() const override { return Qt::MoveAction; }
    QStringList mimeTypes() const override;
    QMimeData *mimeData(const QModelIndexList &indexes) const override;
    bool canDropMimeData(const QMimeData *data, Qt::DropAction action, int row, int column,
                         const QModelIndex &parent) const override;
    bool dropMimeData(const QMimeData *data, Qt::DropAction action, int row, int column, const QModelIndex &parent) override;

protected:
    QVariant dataForObject(ManagedObject *object, int role) const override;

private:
    const MyNotesTableViewCanMoveProtocol *m_canMoveDelegate = nullptr;
};
