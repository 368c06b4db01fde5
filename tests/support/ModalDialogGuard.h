#pragma once

#include <QDialog>
#include <QElapsedTimer>
#include <QEvent>
#include <QHash>
#include <QMessageBox>
#include <QTimer>

#include <gtest/gtest.h>

// A modal window that no test answers would park its test in a nested event loop until CTest's
// timeout, stalling the whole run. The guard watches every modal window: one left unattended (no
// input, no close) for `graceMs` fails the running test with what it said and is closed, so its
// event loop returns and the test ends at once. Tests that answer a dialog do so within a few
// event-loop turns, far inside the grace.
class ModalDialogGuard : public QObject
{
public:
    static constexpr int graceMs = 2000;

    explicit ModalDialogGuard(QObject *parent = nullptr)
        : QObject(parent)
    {
        connect(&m_poll, &QTimer::timeout, this, &ModalDialogGuard::check);
        m_poll.start(100);
    }

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (!watched->isWidgetType())
            return false;
        QWidget *window = static_cast<QWidget *>(watched)->window();
        const QEvent::Type t = event->type();
        // A test typing into or clicking a modal window is answering it.
        const bool input = t == QEvent::KeyPress || t == QEvent::KeyRelease || t == QEvent::MouseButtonPress
                           || t == QEvent::MouseButtonRelease || t == QEvent::MouseButtonDblClick
                           || t == QEvent::InputMethod || t == QEvent::Wheel;
        if (t == QEvent::Show && watched == window && window->windowModality() != Qt::NonModal) {
            if (!m_watched.contains(window))
                connect(window, &QObject::destroyed, this, [this, window] { m_watched.remove(window); });
            m_watched[window].start();
        } else if (input && m_watched.contains(window)) {
            m_watched[window].start();
        }
        return false;
    }

private:
    void check()
    {
        for (auto it = m_watched.begin(); it != m_watched.end();) {
            QWidget *window = it.key();
            if (!window->isVisible()) {
                it = m_watched.erase(it);
                continue;
            }
            if (!it->hasExpired(graceMs)) {
                ++it;
                continue;
            }
            m_watched.erase(it);
            QString text = QString::fromLatin1(window->metaObject()->className()) + u' ' + window->windowTitle();
            if (auto *box = qobject_cast<QMessageBox *>(window))
                text += QStringLiteral(": %1 %2").arg(box->text(), box->informativeText());
            ADD_FAILURE() << "a modal window was left unanswered for " << graceMs
                          << " ms and was closed: " << text.toStdString();
            if (auto *dialog = qobject_cast<QDialog *>(window))
                dialog->reject();
            else
                window->close();
            return; // closing may change the watched windows
        }
    }

    QHash<QWidget *, QElapsedTimer> m_watched; // since shown or last given input
    QTimer m_poll;
};
