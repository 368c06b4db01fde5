#pragma once

#include <QMessageBox>
#include <QString>
#include <QStringList>

#include <functional>

// The application's alerts: a message, an informative text and up to three buttons, modal to
// the main window. Both texts are shown exactly as given, never read as markup. The first
// button is the default; the answer is the return code of the button chosen: 1 for the first,
// 0 for the second, -1 for the third. Escape chooses the second button, or the only one.
class AlertSheet
{
public:
    enum ReturnCode { OtherReturn = -1, AlternateReturn = 0, DefaultReturn = 1 };
    using Completion = std::function<void(int returnCode)>;

    // Shows the alert and returns at once; the completion runs when it is answered. Without a
    // window the alert is modal to the whole application.
    static QMessageBox *beginSheet(QWidget *window, const QString &message, const QString &informativeText,
                                   const QStringList &buttons = {QStringLiteral("OK")}, Completion completion = {});
    // Shows the alert and waits for the answer.
    static int runModal(QWidget *window, const QString &message, const QString &informativeText,
                        const QStringList &buttons = {QStringLiteral("OK")});

    AlertSheet() = delete;

private:
    static QMessageBox *create(QWidget *window, const QString &message, const QString &informativeText,
                               const QStringList &buttons);
    static int returnCode(QMessageBox *box);
};
