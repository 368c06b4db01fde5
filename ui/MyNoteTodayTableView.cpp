#include "ui/MyNoteTodayTableView.h"

#include "ui/SimpleNoteCellWithNotebook.h"

MyNoteTodayTableView::MyNoteTodayTableView(QWidget *parent)
    : MyNoteTableView(parent)
{
    setItemDelegate(new SimpleNoteCellWithNotebook(this));
    setDragEnabled(false);
    setAcceptDrops(false);
    setDragDropMode(QAbstractItemView::NoDragDrop);
}

QString MyNoteTodayTableView::completionNotificationName() const
{
    return QStringLiteral("completedTasksInToday");
}
