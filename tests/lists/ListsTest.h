#pragma once

#include "core/NotificationCenter.h"
#include "tests/support/TempStore.h"
#include "tests/ui/AppTest.h"
#include "ui/ManagingViewController.h"
#include "ui/MyTableView.h"

#include <QAbstractButton>
#include <QLineEdit>
#include <QVBoxLayout>

// The lists' tests: fresh settings, the application's value transformers, a store of the test's
// own, and the view under test shown in a window as the main window's box would show it.
class ListsTest : public AppTest
{
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        Kelvara_AppDelegate::initialize();
    }

    std::unique_ptr<QWidget> showInWindow(ManagingViewController &controller)
    {
        auto window = std::make_unique<QWidget>();
        auto *layout = new QVBoxLayout(window.get());
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(controller.view());
        window->resize(520, 420);
        window->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        // Changes made while setting up fall into an undo step of their own.
        QCoreApplication::processEvents();
        return window;
    }

    // Answers the alert on screen with the button of that text; returns its informative text,
    // or a null string when no alert is shown.
    static QString answerAlert(const QString &button, QString *message = nullptr)
    {
        QMessageBox *box = visibleAlert();
        if (!box)
            return QString();
        const QString informative = box->informativeText();
        if (message)
            *message = box->text();
        for (QAbstractButton *b : box->buttons()) {
            if (b->text() == button) {
                b->click();
                break;
            }
        }
        QCoreApplication::processEvents();
        return informative;
    }

    // Opens the name of `row` for editing, types `name` and presses Return, as a user would.
    static void rename(MyTableView *table, int row, const QString &name)
    {
        QCoreApplication::processEvents(); // each rename is an undo step of its own
        const QModelIndex index = table->model()->index(row, MyTableView::nameColumn);
        table->edit(index);
        auto *editor = qobject_cast<QLineEdit *>(table->indexWidget(index));
        ASSERT_NE(editor, nullptr) << "no editor opened on row " << row;
        editor->setText(name);
        QTest::keyClick(editor, Qt::Key_Return);
        QCoreApplication::processEvents(); // the editor hands its text over once the key is handled
    }

    // Hands "nameChanged" to the view, as the application delegate does for the view on screen.
    void forwardNameChanges(ManagingViewController &view)
    {
        NotificationCenter::defaultCenter().addObserver(this, QStringLiteral("nameChanged"),
                                                        [&view](const Notification &) { view.nameChangedNotification(); });
    }

    void TearDown() override { NotificationCenter::defaultCenter().removeObserver(this); }

    TempStore store;
};

// Records the posts of several notifications in the order they came, with their senders,
// while it lives (NotificationRecorder counts one name).
class NotificationSequence
{
public:
    explicit NotificationSequence(const QStringList &watched)
    {
        for (const QString &name : watched) {
            NotificationCenter::defaultCenter().addObserver(this, name, [this](const Notification &n) {
                names << n.name;
                objects << n.object;
            });
        }
    }
    ~NotificationSequence() { NotificationCenter::defaultCenter().removeObserver(this); }
    NotificationSequence(const NotificationSequence &) = delete;
    NotificationSequence &operator=(const NotificationSequence &) = delete;

    int count(const QString &name) const { return int(names.count(name)); }

    QStringList names;
    QList<const void *> objects;
};
