#include "core/store/TaskCounts.h"

#include "core/Clock.h"
#include "core/DayBoundaries.h"
#include "core/Log.h"
#include "core/store/ManagedObjectContext.h"
#include "core/store/MyNote.h"

#include <exception>

namespace {
void logFailure(const std::exception &e)
{
    Log::line(QStringLiteral("Task count failed: %@"), {QString::fromUtf8(e.what())});
}
} // namespace

TaskCounts::Counts TaskCounts::dueCounts(const ManagedObjectContext *context)
{
    if (!context)
        return {};
    const QDateTime now = Clock::now();
    const QDateTime endOfYesterday = DayBoundaries::finishInDays(now, -1);
    const QDateTime endOfToday = DayBoundaries::finishInDays(now, 0);
    const QDateTime endOfTomorrow = DayBoundaries::finishInDays(now, 1);
    try {
        // Each count is one scan of the store's columns, which reads memory in order; picking
        // the due tasks first and testing them one by one visits scattered objects instead.
        const auto count = [context](const char *format, const QVariantList &arguments) {
            return context->count(QLatin1String(MyNote::entityName), Predicate::withFormat(QLatin1String(format), arguments));
        };
        Counts counts;
        counts.today = count(dueInRangeFormat, {endOfYesterday, endOfToday});
        counts.overdue = count(overdueFormat, {endOfYesterday});
        counts.tomorrow = count(dueInRangeFormat, {endOfToday, endOfTomorrow});
        counts.dockBadge = count(dockBadgeFormat, {endOfToday});
        return counts;
    } catch (const std::exception &e) {
        logFailure(e);
        return {};
    }
}

int TaskCounts::dockBadgeCount(const ManagedObjectContext *context)
{
    if (!context)
        return 0;
    try {
        return context->count(QLatin1String(MyNote::entityName),
                              Predicate::withFormat(QLatin1String(dockBadgeFormat), {DayBoundaries::justFinishInDays(0)}));
    } catch (const std::exception &e) {
        logFailure(e);
        return 0;
    }
}
