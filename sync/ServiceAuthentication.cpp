#include "sync/ServiceAuthentication.h"

#include "core/ErrorPane.h"
#include "core/Localized.h"
#include "core/credentials/SharedData.h"
#include "service/EDAMUserException.h"
#include "service/EDAMUserStoreClient.h"
#include "service/ServiceConfiguration.h"
#include "service/TBinaryProtocol.h"
#include "service/THTTPClient.h"
#include "service/TTransportException.h"
#include "sync/SecretRedaction.h"

#include <QUrl>

namespace {

EDAMUserStoreClient userStore()
{
    auto transport = std::make_shared<THTTPClient>(QUrl(ServiceConfiguration::userStoreUrl()));
    return EDAMUserStoreClient(std::make_shared<TBinaryProtocol>(transport));
}

} // namespace

std::optional<EDAMAuthenticationResult> ServiceAuthentication::withSharedData(Caller caller)
{
    ErrorPane pane;
    const std::optional<QString> userName = SharedData::sharedManager()->userName();
    const std::optional<QString> password = SharedData::sharedManager()->password();
    // An empty text is no more a name or a password than none at all.
    if (!userName || userName->isEmpty()) {
        pane.setMessage(Localized::string(QStringLiteral("NO_USER")));
        pane.showErrorPane();
        return std::nullopt;
    }
    if (!password || password->isEmpty()) {
        pane.setMessage(Localized::format(QStringLiteral("NO_PASSWORD"), {*userName}));
        pane.showErrorPane();
        return std::nullopt;
    }
    return withPassword(*userName, *password, caller);
}

std::optional<EDAMAuthenticationResult> ServiceAuthentication::withPassword(const QString &userName,
                                                                            const QString &password, Caller caller)
{
    SecretRedaction secrets;
    secrets.add(password);
    const auto show = [&](const QString &message) { ErrorPane(secrets.redact(message)).showErrorPane(); };
    try {
        EDAMUserStoreClient users = userStore();
        const auto &version = g_EDAMUserStore_constants;
        if (!users.checkVersion(ServiceConfiguration::clientName().toStdString(), version.EDAM_VERSION_MAJOR,
                                version.EDAM_VERSION_MINOR))
            return std::nullopt;
        EDAMAuthenticationResult result =
            users.authenticate(userName.toStdString(), password.toStdString(),
                               ServiceConfiguration::consumerKey().toStdString(),
                               ServiceConfiguration::consumerSecret().toStdString());
        return result;
    } catch (const TTransportException &e) {
        if (caller != Caller::Run)
            show(e.reason());
        return std::nullopt;
    } catch (const EDAMUserException &e) {
        if (caller == Caller::PasswordCheck)
            show(e.description());
        else
            show(Localized::format(QStringLiteral("LOGIN_ERROR"), {QString::fromStdString(e.parameter)}));
        return std::nullopt;
    } catch (...) {
        secrets.rethrowRedacted();
    }
}
