#pragma once

#include "app/Kelvara_AppDelegate.h"
#include "core/Defaults.h"
#include "core/NotificationCenter.h"
#include "core/SettingsKeys.h"
#include "core/store/MyNote.h"
#include "tests/support/NotificationRecorder.h"
#include "tests/support/TempStore.h"
#include "tests/support/WaitUntil.h"
#include "ui/ArrayController.h"
#include "ui/ManagingViewController.h"
#include "ui/MyTableView.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <ostream>

// The settings of a first launch: nothing saved, the registered defaults.
inline void resetSettings()
{
    Defaults::standardUserDefaults().resetForTesting();
    Defaults::standardUserDefaults().registerDefaults(SettingsKeys::registeredDefaults());
}

inline QMessageBox *visibleAlert()
{
    for (QWidget *w : QApplication::allWidgets()) {
        if (auto *box = qobject_cast<QMessageBox *>(w); box && box->isVisible())
            return box;
    }
    return nullptr;
}

// Answers the alert on screen with the button of that text. Returns the alert's informative
// text, a null string when no alert is shown, and gives its main text in `title`.
inline QString answerAlert(const QString &button, QString *title = nullptr)
{
    QMessageBox *box = visibleAlert();
    if (!box)
        return QString();
    const QString informative = box->informativeText();
    if (title)
        *title = box->text();
    const QList<QAbstractButton *> buttons = box->buttons();
    if (auto b = std::find_if(buttons.begin(), buttons.end(), [&](auto *b) { return b->text() == button; }); b != buttons.end())
        (*b)->click();
    QCoreApplication::processEvents();
    return informative;
}

// The titles of the tasks a list shows, in order, as "a, b, c".
inline QString titles(const ArrayController &list)
{
    QStringList result;
    for (ManagedObject *o : list.arrangedObjects())
        result << static_cast<MyNote *>(o)->title();
    return result.join(QStringLiteral(", "));
}

// Texts in test failures as they read.
inline void PrintTo(const QString &text, std::ostream *out)
{
    *out << '"' << text.toStdString() << '"';
}

// A view's tests: first-launch settings, the application's value transformers, a store of the
// test's own, and the view shown in a window as the main window's box would show it.
class ViewTest : public ::testing::Test
{
protected:
    void SetUp() override { resetSettings(); Kelvara_AppDelegate::initialize(); }
    void TearDown() override { NotificationCenter::defaultCenter().removeObserver(this); }

    static std::unique_ptr<QWidget> showInWindow(ManagingViewController &controller)
    {
        auto window = std::make_unique<QWidget>();
        auto *layout = new QVBoxLayout(window.get());
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(controller.view());
        window->resize(520, 600);
        window->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        // Changes made while setting up fall into an undo step of their own.
        QCoreApplication::processEvents();
        return window;
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

    TempStore store;
};
