#pragma once

// Acting inside a box's own loop: a timer polls for the box and acts on it
// once it is there. Past a deadline it gives up and closes whatever box or
// menu is up, so that a test fails instead of waiting for ever.

#include <QApplication>
#include <QDialog>
#include <QTimer>

#include <chrono>
#include <functional>
#include <memory>

namespace tallowbrook::app::test {

// Calls `act` with what `find` gives once it gives something, polling every
// 50 ms. The flag turns true when `act` ran.
inline std::shared_ptr<bool> whenThere(std::function<QWidget*()> find, std::function<void(QWidget*)> act,
                                       std::chrono::milliseconds limit = std::chrono::seconds(10)) {
    auto handled = std::make_shared<bool>(false);
    auto* timer = new QTimer(qApp);
    timer->setInterval(50);
    const auto deadline = std::chrono::steady_clock::now() + limit;
    QObject::connect(timer, &QTimer::timeout, timer, [=] {
        QWidget* found = find();
        if (found == nullptr && std::chrono::steady_clock::now() < deadline) {
            return;
        }
        timer->stop();
        timer->deleteLater();
        if (found != nullptr) {
            *handled = true;
            act(found);
            return;
        }
        if (QWidget* popup = QApplication::activePopupWidget()) {
            popup->close();
        }
        for (QWidget* window : QApplication::topLevelWidgets()) {
            auto* box = qobject_cast<QDialog*>(window);
            if (box != nullptr && box->isVisible() && box->isModal()) {
                box->reject();
            }
        }
    });
    timer->start();
    return handled;
}

// Calls `act` with the first modal widget that appears.
inline std::shared_ptr<bool> whenModalAppears(std::function<void(QWidget*)> act) {
    return whenThere([] { return QApplication::activeModalWidget(); }, std::move(act));
}

} // namespace tallowbrook::app::test
