#pragma once

// The progress box of a long Merge run, shown when the dialog model asks for
// it. The run itself stays on the dialog's thread; the box is modal to the
// dialog, so neither the list nor the chooser can change while it is up.

#include <memory>

#include "dialog/dialog_view.h"

class QProgressDialog;
class QWidget;

namespace tallowbrook::app {

class MergeProgress {
public:
    explicit MergeProgress(QWidget* owner);
    ~MergeProgress();
    MergeProgress(const MergeProgress&) = delete;
    MergeProgress& operator=(const MergeProgress&) = delete;

    // Opens the box at its first call, then shows the count and paints it.
    void show(const dialog::Progress& progress);
    void hide();

private:
    QWidget* m_owner;
    std::unique_ptr<QProgressDialog> m_dialog;
};

} // namespace tallowbrook::app
