#pragma once

#include <QListView>

class MyNoteGlobalSearchTableViewProtocol;

// The global search's results, drawn as task cards with their notebook's name. A double click
// asks the table's delegate to edit the selected result; every other click and key is handled
// as in any list. It draws no selection of its own: the cards show it.
class MyNoteGlobalSearchTableView : public QListView
{
    Q_OBJECT
public:
    explicit MyNoteGlobalSearchTableView(QWidget *parent = nullptr);

    // Not owned.
    void setTableDelegate(MyNoteGlobalSearchTableViewProtocol *delegate) { m_tableDelegate = delegate; }

protected:
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    MyNoteGlobalSearchTableViewProtocol *m_tableDelegate = nullptr;
};
