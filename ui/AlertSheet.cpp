#include "ui/AlertSheet.h"

#include <QAbstractButton>
#include <QLabel>
#include <QPointer>
#include <QPushButton>

namespace {
const char *const codeProperty = "kelvaraReturnCode";
}

QMessageBox *AlertSheet::create(QWidget *window, const QString &message, const QString &informativeText,
                                const QStringList &buttons)
{
    auto *box = new QMessageBox(window);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(window ? Qt::WindowModal : Qt::ApplicationModal);
    box->setIcon(QMessageBox::Warning);
    box->setTextFormat(Qt::PlainText);
    box->setText(message);
    box->setInformativeText(informativeText);
    // Messages carry file names, service replies and user text: a "<" must stay a "<".
    for (QLabel *label : box->findChildren<QLabel *>())
        label->setTextFormat(Qt::PlainText);
    // Left to itself the box wraps a long message into a narrow column.
    if (auto *informative = box->findChild<QLabel *>(QStringLiteral("qt_msgbox_informativelabel")))
        informative->setMinimumWidth(informative->fontMetrics().averageCharWidth() * 44);

    const QStringList labels = buttons.isEmpty() ? QStringList{QStringLiteral("OK")} : buttons;
    static constexpr QMessageBox::ButtonRole roles[] = {QMessageBox::AcceptRole, QMessageBox::RejectRole,
                                                        QMessageBox::DestructiveRole};
    static constexpr int codes[] = {DefaultReturn, AlternateReturn, OtherReturn};
    for (int i = 0; i < labels.size() && i < 3; ++i) {
        QPushButton *button = box->addButton(labels.at(i), roles[i]);
        button->setProperty(codeProperty, codes[i]);
        if (i == 0)
            box->setDefaultButton(button);
        if (i == 1 || labels.size() == 1)
            box->setEscapeButton(button);
    }
    return box;
}

int AlertSheet::returnCode(QMessageBox *box)
{
    QAbstractButton *clicked = box->clickedButton();
    if (!clicked) // closed by the window manager: as Escape would
        clicked = box->escapeButton();
    return clicked ? clicked->property(codeProperty).toInt() : AlternateReturn;
}

QMessageBox *AlertSheet::beginSheet(QWidget *window, const QString &message, const QString &informativeText,
                                    const QStringList &buttons, Completion completion)
{
    QMessageBox *box = create(window, message, informativeText, buttons);
    QObject::connect(box, &QDialog::finished, box, [box, completion = std::move(completion)] {
        if (completion)
            completion(returnCode(box));
    });
    box->open();
    return box;
}

int AlertSheet::runModal(QWidget *window, const QString &message, const QString &informativeText,
                         const QStringList &buttons)
{
    QPointer<QMessageBox> box = create(window, message, informativeText, buttons);
    box->setAttribute(Qt::WA_DeleteOnClose, false);
    box->exec();
    if (!box) // its window went away while it waited
        return AlternateReturn;
    const int code = returnCode(box);
    delete box.data();
    return code;
}
