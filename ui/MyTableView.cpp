#include "ui/MyTableView.h"

#include "core/NotificationCenter.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>

MyTableView::MyTableView(QWidget *parent)
    : QTableView(parent)
{
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setShowGrid(false);
    setAlternatingRowColors(true);
    setWordWrap(false);
    verticalHeader()->hide();
    horizontalHeader()->setHighlightSections(false);
}

void MyTableView::commitEditing()
{
    if (!isEditing())
        return;
    // Only names are edited, on the current row.
    if (QWidget *editor = indexWidget(currentIndex().siblingAtColumn(nameColumn))) {
        commitData(editor);
        closeEditor(editor, QAbstractItemDelegate::NoHint);
    }
}

void MyTableView::closeEditor(QWidget *editor, QAbstractItemDelegate::EndEditHint hint)
{
    QTableView::closeEditor(editor, hint);
    NotificationCenter::defaultCenter().post(QStringLiteral("nameChanged"), this);
}

void MyTableView::mouseDoubleClickEvent(QMouseEvent *event)
{
    const QModelIndex index = indexAt(event->position().toPoint());
    if (event->button() == Qt::LeftButton && index.isValid() && index.column() != nameColumn) {
        const QModelIndex name = index.siblingAtColumn(nameColumn);
        if (name.flags() & Qt::ItemIsEditable) {
            setCurrentIndex(name);
            edit(name);
            return;
        }
    }
    QTableView::mouseDoubleClickEvent(event);
}

void MyTableView::keyPressEvent(QKeyEvent *event)
{
    if ((event->key() == Qt::Key_Delete || event->key() == Qt::Key_Backspace) && !isEditing()) {
        event->ignore();
        return;
    }
    QTableView::keyPressEvent(event);
}
