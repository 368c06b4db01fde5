#include "ModalDialogGuard.h"

#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QMessageBox>

#include <gtest/gtest.h>

namespace {

bool isModalWindow(QWidget *widget)
{
    return widget && widget->isWindow() && widget->windowModality() != Qt::NonModal;
}

bool isAttention(QEvent::Type type)
{
    switch (type) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::InputMethod:
    case QEvent::Wheel:
        return true;
    default:
        return false;
    }
}

} // namespace

ModalDialogGuard::ModalDialogGuard(QObject *parent)
    : QObject(parent)
{
    m_poll.setInterval(100);
    connect(&m_poll, &QTimer::timeout, this, &ModalDialogGuard::check);
    m_poll.start();
}

bool ModalDialogGuard::eventFilter(QObject *watched, QEvent *event)
{
    if (!watched->isWidgetType())
        return false;
    auto *widget = static_cast<QWidget *>(watched);
    const QEvent::Type type = event->type();
    if (type == QEvent::Show && isModalWindow(widget)) {
        Watched *watched = find(widget);
        if (!watched) {
            m_watched.append(Watched{widget, QElapsedTimer()});
            watched = &m_watched.last();
        }
        watched->attended.start();
    } else if (isAttention(type)) {
        // A test typing into or clicking a modal window is answering it.
        if (Watched *watched = find(widget->window()))
            watched->attended.start();
    }
    return false;
}

ModalDialogGuard::Watched *ModalDialogGuard::find(QWidget *window)
{
    for (Watched &watched : m_watched) {
        if (watched.window == window)
            return &watched;
    }
    return nullptr;
}

QString ModalDialogGuard::describe(QWidget *window)
{
    QString text = QString::fromLatin1(window->metaObject()->className());
    if (!window->windowTitle().isEmpty())
        text += QStringLiteral(" \"%1\"").arg(window->windowTitle());
    if (auto *box = qobject_cast<QMessageBox *>(window))
        text += QStringLiteral(": %1 %2").arg(box->text(), box->informativeText());
    return text;
}

void ModalDialogGuard::check()
{
    QList<QPointer<QWidget>> unattended;
    m_watched.removeIf([&unattended](const Watched &watched) {
        if (!watched.window || !watched.window->isVisible())
            return true;
        if (!watched.attended.hasExpired(graceMs))
            return false;
        unattended << watched.window;
        return true;
    });
    for (const QPointer<QWidget> &window : unattended) {
        if (!window)
            continue;
        ADD_FAILURE() << "a modal window was left unanswered for " << graceMs
                      << " ms and was closed: " << describe(window).toStdString();
        if (auto *dialog = qobject_cast<QDialog *>(window))
            dialog->reject();
        else
            window->close();
    }
}
