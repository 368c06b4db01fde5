#pragma once

#include "service/EDAMTypes.h"

#include <QString>

// The object a call named does not exist on the service. Not a kind of TException: callers
// catch it by its own kind.
class EDAMNotFoundException : public edam::EDAMNotFoundException
{
public:
    EDAMNotFoundException() = default;
    EDAMNotFoundException(const std::string &identifier, const std::string &key);
    explicit EDAMNotFoundException(const edam::EDAMNotFoundException &received);

    static QString name() { return QStringLiteral("EDAMNotFoundException"); }
    static QString reason() { return QStringLiteral("unknown"); }
    // EDAMNotFoundException(identifier:"Note.guid",key:"…")
    QString description() const;

    const char *what() const noexcept override;

private:
    mutable std::string m_what;
};
