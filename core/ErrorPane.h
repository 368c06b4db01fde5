#pragma once

#include <QString>

// The error alert the synchronisation raises: "Error", `message` shown verbatim (never read as a
// format or as markup), and "OK". It is a plain object, so that code below the GUI can raise one:
// showing it goes to the installed ErrorPresenter, which never makes the caller wait for the
// user, on whatever thread it is raised. Nothing happens when it is dismissed.
class ErrorPane
{
public:
    ErrorPane() = default;
    explicit ErrorPane(const QString &message)
        : m_message(message)
    {
    }

    QString message() const { return m_message; }
    void setMessage(const QString &message) { m_message = message; }

    void showErrorPane() const;

private:
    QString m_message;
};
