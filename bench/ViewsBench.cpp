// The task list at the size of a busy notebook, and a screenful of painted cards.
#include "core/store/ManagedObjectContext.h"
#include "core/store/MyNote.h"
#include "core/store/MyNotebook.h"
#include "core/store/MyTag.h"
#include "ui/MyNotesArrayController.h"
#include "ui/SimpleNoteCell.h"

#include <QDateTime>
#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

namespace {
// 50,000 tasks in memory, 5,000 of them in the first notebook.
struct BusyStore
{
    BusyStore()
        : context(ManagedObjectModel::load(QString::fromLatin1(ManagedObjectModel::defaultResource)), nullptr)
    {
        context.undoManager()->disableUndoRegistration();
        for (int i = 0; i < 10; ++i) {
            auto *nb = context.insert<MyNotebook>();
            nb->setName(QStringLiteral("Notebook %1").arg(i));
            notebooks << nb;
        }
        auto *tag = context.insert<MyTag>();
        tag->setName(QStringLiteral("errands"));
        const QDateTime now = QDateTime::currentDateTime();
        for (int i = 0; i < 50'000; ++i) {
            auto *task = context.insert<MyNote>();
            task->setTitle(QStringLiteral("Task %1 to %2").arg(i * 7919 % 50'000).arg(i % 3 ? u"write" : u"call"));
            task->setNotebook(notebooks.at(i % 10));
            if (i % 4)
                task->setDueDated(now.addDays(i % 61 - 30));
            if (i % 9 == 0)
                task->setActive(false);
            if (i % 2)
                task->addTagsObject(tag);
        }
    }
    ManagedObjectContext context;
    QList<MyNotebook *> notebooks;
};

BusyStore &busyStore()
{
    static BusyStore store;
    return store;
}
} // namespace

static void BM_RearrangeNotebook5k(benchmark::State &state)
{
    BusyStore &store = busyStore();
    MyNotesArrayController tasks;
    tasks.setManagedObjectContext(&store.context);
    tasks.setFilterPredicate(Predicate::withFormat(QStringLiteral("active == 1")));
    tasks.setSortDescriptors({SortDescriptor(QStringLiteral("title"))});
    tasks.setContentRelationship(store.notebooks.first(), QStringLiteral("notes"));
    for (auto _ : state) {
        tasks.rearrangeObjects();
        benchmark::DoNotOptimize(tasks.count());
    }
    state.counters["rows"] = tasks.count();
}
BENCHMARK(BM_RearrangeNotebook5k)->Unit(benchmark::kMillisecond);

static void BM_PaintScreenOfCards(benchmark::State &state)
{
    BusyStore &store = busyStore();
    const QList<MyNote *> tasks = store.notebooks.first()->notes().mid(0, 30);
    SimpleNoteCell cell;
    const int rowHeight = cell.sizeHint({}, {}).height();
    QImage image(520, rowHeight * 30, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        QPainter painter(&image);
        for (int row = 0; row < tasks.size(); ++row)
            cell.draw(&painter, QRectF(0, row * rowHeight, 520, rowHeight), tasks.at(row)->simpleNote(), row == 3);
    }
}
BENCHMARK(BM_PaintScreenOfCards)->Unit(benchmark::kMillisecond);
