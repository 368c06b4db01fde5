#pragma once

#include "service/EDAMTypes.h"

#include <QString>

#include <optional>

// The user-store half of the server actions: the version check and the authentication, with the
// failures each caller reports in its own way. Both forms of the server actions and the
// preferences window's check of a new password come here.
//
// Nothing the user typed as a password reaches a pane, a log line or the text of an exception
// that leaves (SecretRedaction).
class ServiceAuthentication
{
public:
    enum class Caller {
        // ENServerActions: a transport failure is shown in a pane with its reason.
        ServerActions,
        // EvernoteSync: a transport failure is dropped; the run simply does not start.
        Run,
        // The check of a user name and password before they are stored: a refused login shows
        // the service's description of the refusal rather than the localised text.
        PasswordCheck,
    };

    // The credentials of SharedData. Without a user name, or without a password, a pane says
    // which is missing and nothing is asked of the service.
    static std::optional<EDAMAuthenticationResult> withSharedData(Caller caller);
    // The given credentials, without looking at SharedData.
    static std::optional<EDAMAuthenticationResult> withPassword(const QString &userName, const QString &password,
                                                                Caller caller = Caller::PasswordCheck);

    ServiceAuthentication() = delete;
};
