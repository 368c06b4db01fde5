#include "ui/MyNotesArrayController.h"

#include "core/NotificationCenter.h"
#include "core/store/MyNote.h"
#include "ui/MyNotesTableViewCanMoveProtocol.h"

#include <QDataStream>
#include <QIODevice>
#include <QMimeData>

#include <algorithm>

MyNotesArrayController::MyNotesArrayController(QObject *parent)
    : ArrayController(parent)
{
}

QByteArray MyNotesArrayController::archiveRows(const QList<int> &rows)
{
    QByteArray data;
    QDataStream out(&data, QIODevice::WriteOnly);
    out.setVersion(QDataStream::Qt_6_4);
    QList<int> sorted = rows;
    std::sort(sorted.begin(), sorted.end());
    sorted.erase(std::unique(sorted.begin(), sorted.end()), sorted.end());
    out << sorted;
    return data;
}

QList<int> MyNotesArrayController::unarchiveRows(const QByteArray &data)
{
    QDataStream in(data);
    in.setVersion(QDataStream::Qt_6_4);
    QList<int> rows;
    in >> rows;
    if (in.status() != QDataStream::Ok)
        return {};
    return rows;
}

QList<int> MyNotesArrayController::renumbered(int from, int to, int count)
{
    QList<int> sorter(count);
    for (int i = 0; i < count; ++i)
        sorter[i] = i;
    if (from == to || from < 0 || from >= count || to < 0 || to > count)
        return sorter;
    int next = 0;
    if (from < to) {
        for (int row = 0; row < to; ++row) {
            if (row != from)
                sorter[row] = next++;
        }
        for (int row = to; row < count; ++row)
            sorter[row] = row;
        sorter[from] = to - 1;
    } else {
        next = to + 1;
        for (int row = to; row < count; ++row) {
            if (row != from)
                sorter[row] = next++;
        }
        for (int row = 0; row < to; ++row)
            sorter[row] = row;
        sorter[from] = to;
    }
    return sorter;
}

Qt::ItemFlags MyNotesArrayController::flags(const QModelIndex &index) const
{
    Qt::ItemFlags f = ArrayController::flags(index);
    if (index.isValid())
        f |= Qt::ItemIsDragEnabled | Qt::ItemIsDropEnabled;
    else
        f |= Qt::ItemIsDropEnabled;
    return f;
}

QStringList MyNotesArrayController::mimeTypes() const
{
    return {QString::fromLatin1(dragType)};
}

QMimeData *MyNotesArrayController::mimeData(const QModelIndexList &indexes) const
{
    QList<int> rows;
    for (const QModelIndex &index : indexes)
        rows << index.row();
    auto *data = new QMimeData;
    data->setData(QString::fromLatin1(dragType), archiveRows(rows));
    return data;
}

bool MyNotesArrayController::canDropMimeData(const QMimeData *data, Qt::DropAction action, int, int,
                                             const QModelIndex &) const
{
    if (!data || action != Qt::MoveAction || !data->hasFormat(QString::fromLatin1(dragType)))
        return false;
    if (!m_canMoveDelegate || !m_canMoveDelegate->canMove())
        return false;
    return unarchiveRows(data->data(QString::fromLatin1(dragType))).size() == 1;
}

bool MyNotesArrayController::dropMimeData(const QMimeData *data, Qt::DropAction action, int row, int column,
                                          const QModelIndex &parent)
{
    if (!canDropMimeData(data, action, row, column, parent))
        return false;
    // A drop onto a row falls above it; a drop past the last row goes to the end.
    int to = row >= 0 ? row : (parent.isValid() ? parent.row() : count());
    to = std::clamp(to, 0, count());
    const int from = unarchiveRows(data->data(QString::fromLatin1(dragType))).first();
    if (from < 0 || from >= count())
        return false;
    if (from != to) {
        const QList<int> sorter = renumbered(from, to, count());
        const QList<ManagedObject *> listed = arrangedObjects();
        // Hand-kept order is local: plain writes, nothing marked for synchronisation.
        for (int i = 0; i < listed.size(); ++i)
            listed.at(i)->setValue(QStringLiteral("mysorter"), sorter.at(i));
    }
    NotificationCenter::defaultCenter().post(QStringLiteral("saveDataToDisk"), this);
    // The model removes no rows, so the view's follow-up to a successful move does nothing.
    return true;
}

QVariant MyNotesArrayController::dataForObject(ManagedObject *object, int role) const
{
    auto *task = static_cast<MyNote *>(object);
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return task->title();
    case Qt::ToolTipRole: {
        const QString content = task->content();
        if (content.isEmpty())
            return {};
        return content.size() > tooltipLength ? content.left(tooltipLength) + QChar(0x2026) : content;
    }
    default:
        return {};
    }
}
