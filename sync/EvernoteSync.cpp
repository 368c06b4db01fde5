#include "sync/EvernoteSync.h"

#include "sync/ServiceAuthentication.h"

EvernoteSync::EvernoteSync()
    : NoteStoreActions(std::nullopt, Form::Run)
{
}

std::unique_ptr<EvernoteSync> EvernoteSync::init()
{
    std::unique_ptr<EvernoteSync> service(new EvernoteSync);
    service->setAuthenticationResult();
    if (!service->auth())
        return nullptr;
    return service;
}

void EvernoteSync::setAuthenticationResult()
{
    if (std::optional<EDAMAuthenticationResult> result =
            ServiceAuthentication::withSharedData(ServiceAuthentication::Caller::Run))
        setAuth(std::move(result));
}

TypesConversor::ContentFetch EvernoteSync::contentFetch()
{
    return [this](const QString &guid) { return contentForUpdate(guid); };
}
