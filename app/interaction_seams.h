#pragma once

// The two places where the dialog waits for the user in a box of the
// platform's: the open-file dialog and message boxes. They are functions so
// that tests can answer them without running a real modal loop.

#include <functional>
#include <optional>

#include <QMessageBox>
#include <QString>
#include <QStringList>

class QWidget;

namespace tallowbrook::app {

// Runs the open-file dialog owned by `owner` with `initialName` in its name
// field. Returns the chosen files' full paths, or nothing when cancelled.
using FileChooser = std::function<std::optional<QStringList>(QWidget* owner, const QString& initialName)>;

struct MessageRequest {
    QString caption;
    QString text;
    // Behind the box's "Show Details..." button; empty: no such button.
    QString details;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
};

// Shows a modal box owned by `owner` with one "OK" button; returns when it is
// dismissed.
using MessagePresenter = std::function<void(QWidget* owner, const MessageRequest& request)>;

struct UiSeams {
    FileChooser chooseFiles;
    MessagePresenter showMessage;
};

// The platform's open-file dialog and message box.
UiSeams platformSeams();

} // namespace tallowbrook::app
