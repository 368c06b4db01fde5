#include "tests/ui/AppTest.h"

#include "core/ErrorPresenter.h"
#include "app/ErrorPane.h"

#include <QLabel>
#include <QPushButton>
#include <QThread>

namespace {
void runOnWorker(const std::function<void()> &work)
{
    std::unique_ptr<QThread> worker(QThread::create(work));
    worker->start();
    worker->wait(); // returns: showing a pane never waits for the user
}
} // namespace

TEST_F(AppTest, AnErrorPaneRaisedOnAWorkerIsShownOnTheMainWindowWithItsMessageVerbatim)
{
    auto app = launch();
    MainWindow *window = app->window();
    const QString message = QStringLiteral("Disk 100% full: <b>%@</b> & %d\nsecond line");
    runOnWorker([&] {
        ErrorPane pane(window);
        pane.setMessage(message);
        pane.showErrorPane();
    });
    QMessageBox *box = nullptr;
    ASSERT_TRUE(waitUntil([&] { return (box = visibleAlert()) != nullptr; }));
    EXPECT_EQ(box->thread(), QApplication::instance()->thread());
    EXPECT_EQ(box->parentWidget(), window);
    EXPECT_EQ(box->windowModality(), Qt::WindowModal);
    EXPECT_EQ(box->text(), QStringLiteral("Error"));
    EXPECT_EQ(box->informativeText(), message);
    for (QLabel *label : box->findChildren<QLabel *>()) {
        if (label->text() == message) {
            EXPECT_EQ(label->textFormat(), Qt::PlainText) << "the message would be read as markup";
        }
    }
    ASSERT_EQ(box->buttons().size(), 1);
    EXPECT_EQ(box->buttons().first()->text(), QStringLiteral("OK"));
    box->buttons().first()->click();
    ASSERT_TRUE(waitUntil([] { return visibleAlert() == nullptr; }));

    // Lower layers reach it through the presenter the application installed.
    runOnWorker([] {
        ErrorPresenter::present(AppError{QStringLiteral("Sync"), 1, QStringLiteral("The service refused the note."),
                                         QStringLiteral("Quota reached."), {}});
    });
    ASSERT_TRUE(waitUntil([&] { return (box = visibleAlert()) != nullptr; }));
    EXPECT_EQ(box->informativeText(), QStringLiteral("The service refused the note. Quota reached."));
    box->buttons().first()->click();
}
