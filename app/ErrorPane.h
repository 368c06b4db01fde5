#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>

// The error alert of the main window: "Error", the message exactly as given, and "OK".
// It may be raised on any thread: off the main thread, showing it is handed to the main thread
// and the caller goes on at once. Nothing happens when it is dismissed.
class ErrorPane
{
public:
    explicit ErrorPane(QWidget *window);

    QString message() const { return m_message; }
    void setMessage(const QString &message) { m_message = message; }

    void showErrorPane() const;

private:
    QPointer<QWidget> m_window;
    QString m_message;
};
