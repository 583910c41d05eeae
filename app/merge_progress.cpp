#include "app/merge_progress.h"

#include <algorithm>
#include <limits>

#include <QCoreApplication>
#include <QProgressDialog>

namespace tallowbrook::app {

namespace {
int clampToInt(std::size_t value) {
    constexpr auto kMax = static_cast<std::size_t>(std::numeric_limits<int>::max());
    return static_cast<int>(std::min(value, kMax));
}
} // namespace

MergeProgress::MergeProgress(QWidget* owner, std::chrono::milliseconds showAfter)
    : m_owner(owner), m_showAfter(showAfter) {
    m_clock.start();
}

MergeProgress::~MergeProgress() = default;

void MergeProgress::entryDone(std::size_t done, std::size_t total) {
    if (!m_dialog) {
        if (m_clock.elapsed() < m_showAfter.count()) {
            return;
        }
        // Created only now: the box's own delay timer could otherwise fire
        // inside a message box's loop and put the box above it.
        m_dialog = std::make_unique<QProgressDialog>(m_owner);
        m_dialog->setObjectName(QStringLiteral("mergeProgress"));
        m_dialog->setWindowTitle(QStringLiteral("Tallowbrook"));
        m_dialog->setWindowModality(Qt::WindowModal);
        m_dialog->setCancelButton(nullptr); // a run goes to its end
        m_dialog->setAutoClose(false);
        m_dialog->setAutoReset(false);
        // The delay has been waited out above; the box shows at the next value.
        m_dialog->setMinimumDuration(0);
        m_dialog->setRange(0, clampToInt(total));
        m_dialog->setValue(0);
    }
    m_dialog->setLabelText(QStringLiteral("Merged %1 of %2 files").arg(done).arg(total));
    m_dialog->setValue(clampToInt(done));
    // Paint the box; the user's input waits until the run has ended.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

} // namespace tallowbrook::app
