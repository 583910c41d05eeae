#pragma once

// The progress box of a long Merge run: it appears only once a run has taken
// longer than `showAfter`, then shows how many of how many files are done.
// The run itself stays on the dialog's thread; the box is modal to the dialog,
// so neither the list nor the chooser can change while it is up.

#include <chrono>
#include <cstddef>
#include <memory>

#include <QElapsedTimer>

class QProgressDialog;
class QWidget;

namespace tallowbrook::app {

class MergeProgress {
public:
    static constexpr std::chrono::milliseconds kShowAfter{500};

    explicit MergeProgress(QWidget* owner, std::chrono::milliseconds showAfter = kShowAfter);
    ~MergeProgress();
    MergeProgress(const MergeProgress&) = delete;
    MergeProgress& operator=(const MergeProgress&) = delete;

    // Called after each entry of the run.
    void entryDone(std::size_t done, std::size_t total);

    // Whether the box has been shown during this run.
    bool wasShown() const { return m_dialog != nullptr; }

private:
    QWidget* m_owner;
    std::chrono::milliseconds m_showAfter;
    QElapsedTimer m_clock;
    std::unique_ptr<QProgressDialog> m_dialog;
};

} // namespace tallowbrook::app
