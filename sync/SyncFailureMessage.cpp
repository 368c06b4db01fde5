#include "sync/SyncFailureMessage.h"

#include "core/Localized.h"
#include "service/EDAMSystemException.h"
#include "service/TTransportException.h"

namespace {

constexpr int32_t RateLimitReached = 19;

} // namespace

QString SyncFailureMessage::waitingTime(int seconds)
{
    if (seconds < 60)
        return seconds == 1 ? Localized::string(QStringLiteral("WAIT_ONE_SECOND"))
                            : Localized::format(QStringLiteral("WAIT_SECONDS"), {seconds});
    const int minutes = (seconds + 59) / 60;
    return minutes == 1 ? Localized::string(QStringLiteral("WAIT_ONE_MINUTE"))
                        : Localized::format(QStringLiteral("WAIT_MINUTES"), {minutes});
}

QString SyncFailureMessage::forException(const std::exception_ptr &failure)
{
    try {
        if (failure)
            std::rethrow_exception(failure);
    } catch (const EDAMSystemException &e) {
        if (e.errorCode == RateLimitReached) {
            if (e.__isset.rateLimitDuration && e.rateLimitDuration > 0)
                return Localized::format(QStringLiteral("SYNC_RATE_LIMIT"), {waitingTime(e.rateLimitDuration)});
            return Localized::string(QStringLiteral("SYNC_RATE_LIMIT_SOON"));
        }
    } catch (const TTransportException &e) {
        return Localized::format(QStringLiteral("SYNC_UNREACHABLE"), {e.reason()});
    } catch (...) {
    }
    return Localized::string(QStringLiteral("SYNC_FAILED"));
}
