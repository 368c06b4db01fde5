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

// One keystroke in the search field, with the notes searched too: the list re-filtered and
// re-sorted, and the window laid out and painted. The keystrokes alternate between typing the
// last letter of "repor" + "t" and taking it back, so every one changes the filter.
static void BM_GlobalSearch50k(benchmark::State &state)
{
    Defaults::standardUserDefaults().setBool(Key::SearchInContent, true);
    NoTaskList taskList;
    GlobalSearchController search(QRect(0, 0, 520, 640), LargeTaskStore::stack().managedObjectContext(), &taskList);
    search.setGeometry(search.frame());
    search.show();
    QLineEdit *field = search.ui().searchField;
    field->setText(QStringLiteral("repor"));
    QApplication::processEvents();
    const QString typed[] = {QStringLiteral("report"), QStringLiteral("repor")};
    int keystroke = 0;
    for (auto _ : state) {
        field->setText(typed[keystroke++ % 2]);
        QApplication::processEvents();
    }
    state.counters["listed"] = search.taskList()->count();
    Defaults::standardUserDefaults().removeObjectForKey(Key::SearchInContent);
}
BENCHMARK(BM_GlobalSearch50k)->Unit(benchmark::kMillisecond);

// The first keystroke, which lists nearly every task, and the one that clears the field.
static void BM_GlobalSearchBroad50k(benchmark::State &state)
{
    Defaults::standardUserDefaults().setBool(Key::SearchInContent, true);
    NoTaskList taskList;
    GlobalSearchController search(QRect(0, 0, 520, 640), LargeTaskStore::stack().managedObjectContext(), &taskList);
    search.setGeometry(search.frame());
    search.show();
    QLineEdit *field = search.ui().searchField;
    QApplication::processEvents();
    const QString typed[] = {QStringLiteral("t"), QString()};
    int keystroke = 0;
    for (auto _ : state) {
        field->setText(typed[keystroke++ % 2]);
        QApplication::processEvents();
    }
    Defaults::standardUserDefaults().removeObjectForKey(Key::SearchInContent);
}
BENCHMARK(BM_GlobalSearchBroad50k)->Unit(benchmark::kMillisecond);
