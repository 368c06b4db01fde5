#include "tests/ui/AppTest.h"

#include "core/ErrorPane.h"
#include "core/ErrorPresenter.h"
#include "core/MainThread.h"

#include <QLabel>
#include <QPointer>
#include <QPushButton>

namespace {
int visibleAlerts()
{
    int count = 0;
    for (QWidget *w : QApplication::topLevelWidgets())
        count += qobject_cast<QMessageBox *>(w) && w->isVisible();
    return count;
}
} // namespace

TEST_F(AppTest, ErrorPanesRaisedOnAWorkerAreShownOnTheMainWindowOneAtATimeWithTheirMessagesVerbatimAndRepeatsMerged)
{
    auto app = launch();
    // A run refused forty times shows its refusal once while it is on screen or waiting; a
    // failure of another kind still gets a pane of its own.
    const QString message = QStringLiteral("Disk 100% full: <b>%@</b> & %d\nsecond line");
    const QString refused = QStringLiteral("The service refused the note.");
    const QString unreachable = QStringLiteral("The service is out of reach.");
    onWorker([&] {
        ErrorPane pane;
        pane.setMessage(message);
        for (int i = 0; i < 40; ++i) {
            pane.showErrorPane(); // on screen from the first time
            ErrorPane(refused).showErrorPane(); // waiting from the first time
            if (i == 20)
                ErrorPane(unreachable).showErrorPane();
        }
    });
    QMessageBox *box = nullptr;
    ASSERT_TRUE(waitUntil([&] { return (box = visibleAlert()) != nullptr; }));
    EXPECT_EQ(box->parentWidget(), app->window());
    EXPECT_EQ(box->informativeText(), message);
    for (QLabel *label : box->findChildren<QLabel *>())
        EXPECT_TRUE(label->text() != message || label->textFormat() == Qt::PlainText) << "the message would be read as markup";
    QCoreApplication::processEvents();
    EXPECT_EQ(visibleAlerts(), 1) << "the next pane waits for the first to be dismissed";
    const auto dismiss = [&] {
        QPointer<QMessageBox> dismissed = box;
        box->buttons().first()->click();
        EXPECT_TRUE(waitUntil([&] { return dismissed.isNull(); }));
        QCoreApplication::processEvents(); // the next pane comes up
        return visibleAlert();
    };
    for (const QString &next : {refused, unreachable}) {
        box = dismiss();
        ASSERT_TRUE(box);
        EXPECT_EQ(box->informativeText(), next);
    }
    EXPECT_EQ(dismiss(), nullptr) << "the repeats were not merged into one pane";

    // A store error met inside a worker's hop, where the worker is parked until the hop
    // returns: it is shown as a pane too, and the worker goes on without waiting for the user.
    onWorker([] {
        blockingCallOnMainThread([] {
            ErrorPresenter::present(AppError{QStringLiteral("KelvaraStore"), 1, QStringLiteral("The store could not be saved."),
                                             QStringLiteral("Disk full."), {}});
        });
    });
    ASSERT_TRUE(waitUntil([&] { return (box = visibleAlert()) != nullptr; }));
    box->buttons().first()->click();
}
