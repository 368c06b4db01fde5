// The global search over a long-kept task list (LargeTaskStore).
#include "bench/LargeTaskStore.h"
#include "core/Defaults.h"
#include "core/SettingsKeys.h"
#include "core/store/StoreStack.h"
#include "ui/ArrayController.h"
#include "ui/GlobalSearchController.h"
#include "ui/GlobalSearchControllerProtocol.h"

#include "ui_GlobalSearch.h"

#include <QApplication>

#include <benchmark/benchmark.h>

namespace {
struct NoTaskList : GlobalSearchControllerProtocol
{
    void editSearchedObject(MyNote *) override {}
    void releaseSearchedObject() override {}
};
} // namespace

namespace {
// Types into the search window's field, alternating between two texts, with the notes searched
// too: every keystroke re-filters and re-sorts the list and lays out and paints the window.
void typeAlternately(benchmark::State &state, const QString &start, const QString (&typed)[2])
{
    Defaults::standardUserDefaults().setBool(Key::SearchInContent, true);
    NoTaskList taskList;
    GlobalSearchController search(QRect(0, 0, 520, 640), LargeTaskStore::stack().managedObjectContext(), &taskList);
    search.setGeometry(search.frame());
    search.show();
    QLineEdit *field = search.ui().searchField;
    field->setText(start);
    QApplication::processEvents();
    int keystroke = 0;
    for (auto _ : state) {
        field->setText(typed[keystroke++ % 2]);
        QApplication::processEvents();
    }
    state.counters["listed"] = search.taskList()->count();
    Defaults::standardUserDefaults().removeObjectForKey(Key::SearchInContent);
}
} // namespace

// One keystroke: the last letter of "repor" + "t" typed and taken back, so every one changes the filter.
static void BM_GlobalSearch50k(benchmark::State &state)
{
    typeAlternately(state, QStringLiteral("repor"), {QStringLiteral("report"), QStringLiteral("repor")});
}
BENCHMARK(BM_GlobalSearch50k)->Unit(benchmark::kMillisecond);

// The first keystroke, which lists nearly every task, and the one that clears the field.
static void BM_GlobalSearchBroad50k(benchmark::State &state)
{
    typeAlternately(state, QString(), {QStringLiteral("t"), QString()});
}
BENCHMARK(BM_GlobalSearchBroad50k)->Unit(benchmark::kMillisecond);
