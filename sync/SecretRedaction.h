#pragma once

#include <QString>
#include <QStringList>

// Keeps the password and the authentication token of a call out of every text the server
// actions write or let go: log lines, panes, and the exceptions that reach the caller. Our own
// texts never hold them, but the service's do whatever it likes: an exception's message or
// parameter, or a page that repeats the request it was sent (whose body carries both).
class SecretRedaction
{
public:
    // What stands in a text where a secret was.
    static QString hidden() { return QStringLiteral("[hidden]"); }

    void add(const QString &secret);
    void add(const std::string &secret) { add(QString::fromStdString(secret)); }

    QString redact(const QString &text) const;
    bool appearsIn(const QString &text) const;

    // Only inside a catch block: throws the exception being handled again, as a copy of the
    // same kind with every secret taken out of its fields when it holds one. Exceptions of other
    // kinds than ours carry no service text and go on unchanged.
    [[noreturn]] void rethrowRedacted() const;

private:
    // Throws a copy of the exception being handled, cleaned, when a secret appears in it, and
    // the exception itself otherwise.
    template <typename Exception, typename Clean>
    [[noreturn]] void scrubbed(const Exception &exception, const Clean &clean) const;

    QStringList m_secrets;
};
