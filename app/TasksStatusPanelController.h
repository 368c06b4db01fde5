#pragma once

#include <QDialog>
#include <QRect>

class QLabel;
class QPushButton;

// What the launch and quit panels share: a modal window centred on the main window that tells
// the task counts in one sentence ("YOUHAVE" ... "AND" ...), closed by its one button.
class TasksStatusPanelController : public QDialog
{
    Q_OBJECT
public:
    ~TasksStatusPanelController() override;

    // The words for a count: the text of `noneKey` for 0, of `oneKey` for 1, and otherwise the
    // count followed by the text of `manyKey`.
    static QString phrase(int count, const char *noneKey, const char *oneKey, const char *manyKey);

    int tasksForToday() const { return m_tasksForToday; }
    int tasksOverdue() const { return m_tasksOverdue; }

    // Fills the labels from the counts and runs the panel modally; returns once it is closed.
    void showWindowModal();
    // The button's action: ends the modal loop and takes the panel off the screen.
    void closeWindow();

protected:
    TasksStatusPanelController(int todayTasks, int overdueTasks, QWidget *parent);

    // Once the subclass has set up its form: the sentence's look, the button's action, and the
    // panel's place at the centre of `frame` (of the screen, for an empty frame), at its own size.
    void windowLoaded(const QRect &frame, QLabel *icon, QLabel *head, QPushButton *button);
    virtual void fillLabels() = 0;

private:
    int m_tasksForToday;
    int m_tasksOverdue;
};
