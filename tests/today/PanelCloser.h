#pragma once

#include <QApplication>
#include <QPushButton>
#include <QTimer>

#include <functional>
#include <memory>

// Waits (up to five seconds) for the next modal panel, also one run modally from inside the
// code under test, hands it to `inspect` and closes it with its button. `seen` tells whether a
// panel came.
template<typename Panel>
std::shared_ptr<bool> closeNextPanel(std::function<void(Panel *)> inspect)
{
    auto seen = std::make_shared<bool>(false);
    auto *timer = new QTimer;
    QObject::connect(timer, &QTimer::timeout, [timer, seen, inspect, tries = 0]() mutable {
        auto *panel = qobject_cast<Panel *>(QApplication::activeModalWidget());
        if (!panel && ++tries < 500)
            return;
        timer->deleteLater();
        timer->stop();
        if ((*seen = panel != nullptr)) {
            inspect(panel);
            panel->ui().button->click();
        }
    });
    timer->start(10);
    return seen;
}
