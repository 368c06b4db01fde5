#pragma once

#include <QTableView>

// A table whose names (column 1) are edited in place; the end of every edit is announced with
// "nameChanged" (the table as object), on which the view checks and keeps the new name. A
// double click anywhere on a row edits its name. Delete and Backspace are left to the view,
// which deletes the selected rows.
class MyTableView : public QTableView
{
    Q_OBJECT
public:
    static constexpr int nameColumn = 1;

    explicit MyTableView(QWidget *parent = nullptr);

    bool isEditing() const { return state() == EditingState; }
    // Ends an edit in progress, keeping what was typed.
    void commitEditing();

protected:
    void closeEditor(QWidget *editor, QAbstractItemDelegate::EndEditHint hint) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
};
