#pragma once

#include <QString>
#include <QVariantMap>

// An error to present to the user: a domain and code, a description, and optionally a reason
// and a suggestion for recovery.
struct AppError
{
    QString domain;
    int code = 0;
    QString description;
    QString failureReason;
    QString recoverySuggestion;

    bool isNull() const { return domain.isEmpty() && description.isEmpty(); }
    // "description (reason)" on one line, for logs and alert texts.
    QString text() const
    {
        return failureReason.isEmpty() ? description : description + u' ' + failureReason;
    }
};
