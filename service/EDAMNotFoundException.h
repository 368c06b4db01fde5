#pragma once

#include "service/EDAMException.h"
#include "service/EDAMTypes.h"

// The object a call named does not exist on the service. Not a kind of TException: callers
// catch it by its own kind.
class EDAMNotFoundException : public EDAMException<EDAMNotFoundException, edam::EDAMNotFoundException>
{
public:
    static constexpr const char *typeName = "EDAMNotFoundException";

    EDAMNotFoundException() = default;
    EDAMNotFoundException(const std::string &identifier, const std::string &key);
    explicit EDAMNotFoundException(const edam::EDAMNotFoundException &received);

private:
    // identifier:"Note.guid",key:"…"
    QStringList fields() const override;
};
