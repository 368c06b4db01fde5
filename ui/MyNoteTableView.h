#pragma once

#include <QListView>

// The list of task cards. A double click or Return asks for the editor ("EditSelectedTask");
// a click on the status ball of the only selected task, or Space, toggles its completion.
// It draws no selection of its own: the cards show it.
class MyNoteTableView : public QListView
{
    Q_OBJECT
public:
    // The ball of every card sits in this band of x, in the list's coordinates.
    static constexpr int hotSpotLeft = 20;
    static constexpr int hotSpotRight = 35;
    static constexpr int hotSpotHalfHeight = 8;

    explicit MyNoteTableView(QWidget *parent = nullptr);
    ~MyNoteTableView() override;

    // Whether a click at this point (list coordinates) lands on the completion hot spot.
    bool isOnCompletionHotSpot(const QPoint &point) const;

protected:
    // The notification the table posts to toggle completion.
    virtual QString completionNotificationName() const;

    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
};
