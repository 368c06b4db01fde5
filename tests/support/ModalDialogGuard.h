#pragma once

#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <QWidget>

// A modal window that no test answers would park its test in a nested event loop until CTest's
// timeout, stalling the whole run. The guard watches every modal window: one left unattended (no
// input, no close) for `graceMs` fails the running test with what it said and is closed, so its
// event loop returns and the test ends at once. Tests that answer a dialog do so within a few
// event-loop turns, far inside the grace.
class ModalDialogGuard : public QObject
{
public:
    static constexpr int graceMs = 2000;

    explicit ModalDialogGuard(QObject *parent = nullptr);

    bool eventFilter(QObject *watched, QEvent *event) override;

    // What an unattended window said, for the failure message.
    static QString describe(QWidget *window);

private:
    void check();

    struct Watched
    {
        QPointer<QWidget> window;
        QElapsedTimer attended; // since it was shown or last given input
    };
    Watched *find(QWidget *window);

    QList<Watched> m_watched;
    QTimer m_poll;
};
