#pragma once

#include "core/ErrorPresenter.h"

#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QWidget>

class QMessageBox;

// The GUI's ErrorPresenter, installed by the delegate. Error panes are window-modal alerts on the
// main window, shown on the main thread one at a time: a pane raised while another is on screen
// waits until that one is dismissed, rather than stacking on it. Raising one never waits for the
// user. A pane whose message is the one on screen, or one already waiting, is merged into it
// rather than queued again: a run refused forty times shows one alert, not forty, while every
// kind of failure still gets its own. A store error presented on the main thread waits for the user's answer (the quit asks its
// question after it), except while the main thread runs a worker's blocking call: there, and on
// a worker, it becomes a pane, so that the worker is not parked until the user clicks.
class ErrorPaneAlerts : public QObject, public ErrorPresenter
{
    Q_OBJECT
public:
    explicit ErrorPaneAlerts(QObject *parent = nullptr);

    // The window the alerts belong to; until it is visible they are modal to the application.
    void setWindow(QWidget *window) { m_window = window; }

    bool presentError(const AppError &error) override;
    void showErrorPane(const QString &message) override;

private:
    QWidget *parentWindow() const;
    void showNext();

    QPointer<QWidget> m_window;
    QStringList m_waiting; // main thread only, like the pane on screen
    QPointer<QMessageBox> m_onScreen;
    QString m_onScreenMessage;
};
