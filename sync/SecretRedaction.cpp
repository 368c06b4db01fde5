#include "sync/SecretRedaction.h"

#include "service/EDAMNotFoundException.h"
#include "service/EDAMSystemException.h"
#include "service/EDAMUserException.h"
#include "service/TApplicationException.h"
#include "service/TProtocolException.h"
#include "service/TTransportException.h"

namespace {

std::string redacted(const SecretRedaction &secrets, const std::string &text)
{
    return secrets.redact(QString::fromStdString(text)).toStdString();
}

QVariantMap redacted(const SecretRedaction &secrets, const QVariantMap &userInfo)
{
    QVariantMap clean;
    for (auto it = userInfo.cbegin(); it != userInfo.cend(); ++it)
        clean.insert(it.key(), secrets.redact(it.value().toString()));
    return clean;
}

} // namespace

template <typename Exception, typename Clean>
void SecretRedaction::scrubbed(const Exception &exception, const Clean &clean) const
{
    if (!appearsIn(exception.description()))
        throw;
    Exception copy(exception);
    clean(copy);
    throw copy;
}

void SecretRedaction::add(const QString &secret)
{
    if (!secret.isEmpty() && !m_secrets.contains(secret))
        m_secrets << secret;
}

QString SecretRedaction::redact(const QString &text) const
{
    QString clean = text;
    for (const QString &secret : m_secrets)
        clean.replace(secret, hidden());
    return clean;
}

bool SecretRedaction::appearsIn(const QString &text) const
{
    for (const QString &secret : m_secrets) {
        if (text.contains(secret))
            return true;
    }
    return false;
}

void SecretRedaction::rethrowRedacted() const
{
    try {
        throw;
    } catch (const TException &e) {
        if (!appearsIn(e.description()))
            throw;
        const QString reason = redact(e.reason());
        if (const auto *application = dynamic_cast<const TApplicationException *>(&e))
            throw TApplicationException(application->type(), reason);
        if (dynamic_cast<const TTransportException *>(&e))
            throw TTransportException(reason, redacted(*this, e.userInfo()));
        if (dynamic_cast<const TProtocolException *>(&e))
            throw TProtocolException(reason);
        throw TException(e.name(), reason, redacted(*this, e.userInfo()));
    } catch (const EDAMUserException &e) {
        scrubbed(e, [&](EDAMUserException &clean) { clean.parameter = redacted(*this, clean.parameter); });
    } catch (const EDAMSystemException &e) {
        scrubbed(e, [&](EDAMSystemException &clean) { clean.message = redacted(*this, clean.message); });
    } catch (const EDAMNotFoundException &e) {
        scrubbed(e, [&](EDAMNotFoundException &clean) {
            clean.identifier = redacted(*this, clean.identifier);
            clean.key = redacted(*this, clean.key);
        });
    }
}
