#include "ui/MyNoteGlobalSearchTableView.h"

#include "ui/MyNoteGlobalSearchTableViewProtocol.h"
#include "ui/SimpleNoteCellWithNotebook.h"

#include <QMouseEvent>

MyNoteGlobalSearchTableView::MyNoteGlobalSearchTableView(QWidget *parent)
    : QListView(parent)
{
    setItemDelegate(new SimpleNoteCellWithNotebook(this));
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Every card has the same height: a long result list lays out without measuring each row.
    setUniformItemSizes(true);
    setFrameShape(QFrame::NoFrame);
    QPalette p = palette();
    p.setColor(QPalette::Base, QColor::fromRgbF(0.837f, 0.864f, 0.902f));
    setPalette(p);
    setAutoFillBackground(true);
}

void MyNoteGlobalSearchTableView::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && m_tableDelegate) {
        m_tableDelegate->editSearchedObject();
        return;
    }
    QListView::mouseDoubleClickEvent(event);
}
