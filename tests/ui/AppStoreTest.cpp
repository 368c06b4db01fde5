#include "tests/ui/AppTest.h"

#include "core/store/MyNote.h"
#include "tests/support/RecordingErrorPresenter.h"
#include "ui/NotesViewController.h"

#include <QDir>
#include <QFile>

TEST_F(AppTest, AStoreThatCouldNotBeOpenedIsTriedAgainByTheNextActionThatNeedsIt)
{
    // A store file that cannot be read, and a good store to put in its place later (as the
    // message about a damaged store tells the user to do with the backup).
    const QString path = QDir(storeFolder()).filePath(QStringLiteral("storedata"));
    QTemporaryDir elsewhere;
    {
        StoreStack good(elsewhere.filePath(QStringLiteral("Kelvara")));
        auto *task = good.managedObjectContext()->insert<MyNote>();
        task->setNotebook(static_cast<MyNotebook *>(good.managedObjectContext()->fetch(QStringLiteral("MyNotebook")).first()));
        ASSERT_TRUE(good.saveAction());
    }
    QDir().mkpath(storeFolder());
    QFile damaged(path);
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly) && damaged.write(QByteArray(8192, 'x')) == 8192);
    damaged.close();

    // Every alert of the launch is answered, as the user would, and what it said kept.
    QStringList said;
    QTimer answering;
    QObject::connect(&answering, &QTimer::timeout, &answering, [&said] {
        if (QMessageBox *box = visibleAlert())
            said << answerAlert(box->buttons().first()->text());
    });
    answering.start(10);
    std::unique_ptr<Kelvara_AppDelegate> app = launch();
    answering.stop();
    ASSERT_FALSE(said.isEmpty()) << "the user is told at launch";
    ASSERT_EQ(app->managedObjectContext(), nullptr);

    RecordingErrorPresenter errors;
    app->sendAddObjectNotification(nullptr);
    const qsizetype told = errors.errors().size();
    ASSERT_GT(told, 0) << "an action without a store says why it does nothing";
    EXPECT_EQ(app->managedObjectContext(), nullptr);

    ASSERT_TRUE(QFile::remove(path));
    ASSERT_TRUE(QFile::copy(elsewhere.filePath(QStringLiteral("Kelvara/storedata")), path));
    app->saveAction(nullptr);
    EXPECT_EQ(errors.errors().size(), told);
    ASSERT_NE(app->managedObjectContext(), nullptr) << "the next action opened the store";
    EXPECT_EQ(app->window()->boxView(), app->notesViewController()->view()) << "the same view is on screen";
    EXPECT_EQ(app->tasksCount(), 1) << "the task list shows the store's task";
}
