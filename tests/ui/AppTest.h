#pragma once

#include "app/Kelvara_AppDelegate.h"
#include "app/MainWindow.h"
#include "core/store/ManagedObjectContext.h"
#include "core/store/MyNotebook.h"
#include "core/store/StoreStack.h"
#include "tests/support/ViewTest.h"

#include <QTemporaryDir>
#include <QThread>
#include <QTimer>

#include <functional>
#include <memory>

// Each test starts from a first launch: fresh settings with the registered defaults, and a
// store of its own.
class AppTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        resetSettings();
        // The reminder panels are modal: a test that wants one turns it on and closes it.
        Defaults::standardUserDefaults().setBool(Key::showTasksStatusPanel, false);
        Defaults::standardUserDefaults().setBool(Key::showTasksStatusPanelAtEnd, false);
        ASSERT_TRUE(m_dir.isValid());
    }

    QString storeFolder() const { return m_dir.filePath(QStringLiteral("Kelvara")); }

    // Notebooks saved in the store before the application opens it (besides its first one).
    void addNotebooks(const QStringList &names)
    {
        StoreStack store(storeFolder());
        for (const QString &name : names)
            store.managedObjectContext()->insert<MyNotebook>()->setName(name);
        ASSERT_TRUE(store.saveAction());
    }

    std::unique_ptr<Kelvara_AppDelegate> launch()
    {
        auto delegate = std::make_unique<Kelvara_AppDelegate>(storeFolder());
        delegate->applicationDidFinishLaunching();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(delegate->window()));
        return delegate;
    }

    static bool waitForFrame(MainWindow *window) { return waitUntil([window] { return !window->isAnimatingFrame(); }); }

    // Runs `work` on a thread of its own until it ends, serving the main thread's events
    // meanwhile as the application does for its workers' hops.
    static void onWorker(const std::function<void()> &work)
    {
        std::unique_ptr<QThread> worker(QThread::create(work));
        worker->start();
        while (!worker->wait(QDeadlineTimer(0)))
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }

    // Hands the next modal window that `find` finds, also one shown modally from inside the code
    // under test, to `act`; looks every 10 ms for five seconds. The flag tells whether one came.
    static std::shared_ptr<bool> onNextModal(const std::function<QWidget *()> &find, const std::function<void(QWidget *)> &act)
    {
        auto seen = std::make_shared<bool>(false);
        auto *timer = new QTimer;
        QObject::connect(timer, &QTimer::timeout, timer, [timer, seen, find, act, tries = 0]() mutable {
            QWidget *window = find();
            if (!window && ++tries < 500)
                return;
            timer->deleteLater();
            timer->stop();
            if ((*seen = window != nullptr))
                act(window);
        });
        timer->start(10);
        return seen;
    }

    struct Answer
    {
        QString text;
        QString informativeText;
        int alerts = 0;
    };

    // Answers the next alert by clicking the button with that text.
    static std::shared_ptr<Answer> answerNextAlert(const QString &button)
    {
        auto answer = std::make_shared<Answer>();
        onNextModal(visibleAlert, [answer, button](QWidget *) {
            ++answer->alerts;
            answer->informativeText = answerAlert(button, &answer->text);
        });
        return answer;
    }

    // Hands the next reminder panel to `inspect`, then closes it with its button.
    template<typename Panel>
    static std::shared_ptr<bool> closeNextPanel(const std::function<void(Panel *)> &inspect)
    {
        return onNextModal([] { return qobject_cast<Panel *>(QApplication::activeModalWidget()); }, [inspect](QWidget *window) {
            auto *panel = static_cast<Panel *>(window);
            inspect(panel);
            panel->ui().button->click();
        });
    }

    QTemporaryDir m_dir;
};
