#include "ui/MyTableView.h"

#include "core/NotificationCenter.h"

MyTableView::MyTableView(QWidget *parent)
    : QListView(parent)
{
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed);
}

void MyTableView::closeEditor(QWidget *editor, QAbstractItemDelegate::EndEditHint hint)
{
    QListView::closeEditor(editor, hint);
    NotificationCenter::defaultCenter().post(QStringLiteral("nameChanged"), this);
}
