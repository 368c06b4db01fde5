#pragma once

#include "ui/MyTableView.h"

// The notebooks view's table. A press anywhere in the hide column's cell toggles the notebook's
// hide box; the change is saved and announced at once ("saveDataToDisk",
// "notebookArrayChanged"), and the dock tile is recounted half a second later ("ShowDockTile"),
// all with the table as object.
class MyNotebookTableView : public MyTableView
{
    Q_OBJECT
public:
    static constexpr int dockTileDelayMs = 500;

    explicit MyNotebookTableView(QWidget *parent = nullptr);

    // Whether the column's header identifier is "hideNotebookColumn".
    bool isHideColumn(int column) const;
    void launchChangeDockTileNotification();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    // The second press of a double click in the hide column toggles the box again, as a
    // quick pair of clicks should; elsewhere a double click edits the name.
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    void toggleHide(const QModelIndex &index);
};
