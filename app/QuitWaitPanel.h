#pragma once

#include <QDialog>

class QPushButton;

// Shown while the quit waits for a synchronisation that takes longer than a moment (a slow or
// silent service): it says what the quit waits for and offers to quit at once. It closes by
// itself when the wait is over.
class QuitWaitPanel : public QDialog
{
    Q_OBJECT
public:
    explicit QuitWaitPanel(QWidget *parent = nullptr);

    QPushButton *quitNowButton() const { return m_quitNow; }

signals:
    // The user will not wait: the runs are to stop at once.
    void quitNow();

private:
    QPushButton *m_quitNow = nullptr;
};
