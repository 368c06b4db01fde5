#pragma once

#include <QString>
#include <QVariantMap>

#include <exception>
#include <string>

// A failure of a service call that comes from the exchange rather than from the service's own
// answer: the HTTP exchange failed, the reply was malformed, or the service answered with an
// exception message. It carries a name, a reason and optional extra information; the reason
// of a transport failure is shown to the user, the description goes to log lines.
//
// These never carry a request or reply body, an authentication token or a password.
class TException : public std::exception
{
public:
    TException(const QString &name, const QString &reason, const QVariantMap &userInfo = {});

    QString name() const { return m_name; }
    QString reason() const { return m_reason; }
    QVariantMap userInfo() const { return m_userInfo; }
    // "name: reason", then "\n  userInfo = {key = value}" when there is extra information.
    QString description() const;

    const char *what() const noexcept override { return m_what.c_str(); }

private:
    QString m_name;
    QString m_reason;
    QVariantMap m_userInfo;
    std::string m_what;
};
