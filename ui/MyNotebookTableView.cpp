#include "ui/MyNotebookTableView.h"

#include "core/Log.h"
#include "core/NotificationCenter.h"
#include "ui/NamedObjectArrayController.h"

#include <QMouseEvent>
#include <QTimer>

MyNotebookTableView::MyNotebookTableView(QWidget *parent)
    : MyTableView(parent)
{
}

bool MyNotebookTableView::isHideColumn(int column) const
{
    return model() && column >= 0
        && model()->headerData(column, Qt::Horizontal, NamedObjectArrayController::IdentifierRole).toString()
        == QLatin1String(NamedObjectArrayController::hideColumnIdentifier);
}

void MyNotebookTableView::launchChangeDockTileNotification()
{
    NotificationCenter::defaultCenter().post(QStringLiteral("ShowDockTile"), this);
}

void MyNotebookTableView::mousePressEvent(QMouseEvent *event)
{
    const QModelIndex index = indexAt(event->position().toPoint());
    MyTableView::mousePressEvent(event);
    if (event->button() == Qt::LeftButton && index.isValid() && isHideColumn(index.column()))
        toggleHide(index);
}

void MyNotebookTableView::mouseDoubleClickEvent(QMouseEvent *event)
{
    const QModelIndex index = indexAt(event->position().toPoint());
    if (event->button() == Qt::LeftButton && index.isValid() && isHideColumn(index.column())) {
        toggleHide(index);
        return;
    }
    MyTableView::mouseDoubleClickEvent(event);
}

void MyNotebookTableView::toggleHide(const QModelIndex &index)
{
    const bool hidden = index.data(Qt::CheckStateRole).toInt() == Qt::Checked;
    if (!model()->setData(index, hidden ? Qt::Unchecked : Qt::Checked, Qt::CheckStateRole))
        return;
    Log::line(QStringLiteral("cambiado hide en un notebook"));
    NotificationCenter &center = NotificationCenter::defaultCenter();
    center.post(QStringLiteral("saveDataToDisk"), this);
    center.post(QStringLiteral("notebookArrayChanged"), this);
    QTimer::singleShot(dockTileDelayMs, this, &MyNotebookTableView::launchChangeDockTileNotification);
}
