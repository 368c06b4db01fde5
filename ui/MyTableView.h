#pragma once

#include <QListView>

// A list whose names are edited in place; the end of every edit is announced with
// "nameChanged" (the list as object), on which the view checks and keeps the new name.
class MyTableView : public QListView
{
    Q_OBJECT
public:
    explicit MyTableView(QWidget *parent = nullptr);

protected:
    void closeEditor(QWidget *editor, QAbstractItemDelegate::EndEditHint hint) override;
};
