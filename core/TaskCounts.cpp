#include "core/TaskCounts.h"

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
        // Every count is of open tasks due by the end of tomorrow: one pass over the store finds
        // those, and each count's own predicate then runs over them alone.
        const QList<ManagedObject *> dueByTomorrow = context->fetch(
            QLatin1String(MyNote::entityName), Predicate::withFormat(QLatin1String(dockBadgeFormat), {endOfTomorrow}));
        const auto countAmong = [&dueByTomorrow](const char *format, const QVariantList &arguments) {
            const Predicate predicate = Predicate::withFormat(QLatin1String(format), arguments);
            int n = 0;
            for (const ManagedObject *task : dueByTomorrow)
                n += predicate.evaluate(task) ? 1 : 0;
            return n;
        };
        Counts counts;
        counts.today = countAmong(dueInRangeFormat, {endOfYesterday, endOfToday});
        counts.overdue = countAmong(overdueFormat, {endOfYesterday});
        counts.tomorrow = countAmong(dueInRangeFormat, {endOfToday, endOfTomorrow});
        counts.dockBadge = countAmong(dockBadgeFormat, {endOfToday});
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
