#include "app/merge_progress.h"

#include <algorithm>
#include <limits>

#include <QCoreApplication>
#include <QProgressDialog>

#include "dialog/dialog_template.h"

namespace tallowbrook::app {

namespace {
int clampToInt(std::size_t value) {
    constexpr auto kMax = static_cast<std::size_t>(std::numeric_limits<int>::max());
    return static_cast<int>(std::min(value, kMax));
}
} // namespace

MergeProgress::MergeProgress(QWidget* owner) : m_owner(owner) {}

MergeProgress::~MergeProgress() = default;

void MergeProgress::show(const dialog::Progress& progress) {
    if (!m_dialog) {
        // Created only now: the box's own delay timer could otherwise fire
        // inside a message box's loop and put the box above it.
        m_dialog = std::make_unique<QProgressDialog>(m_owner);
        m_dialog->setObjectName(QStringLiteral("mergeProgress"));
        m_dialog->setWindowTitle(QStringLiteral(TB_TEXT_PROGRESS_CAPTION));
        m_dialog->setWindowModality(Qt::WindowModal);
        m_dialog->setCancelButton(nullptr); // a run goes to its end
        m_dialog->setAutoClose(false);
        m_dialog->setAutoReset(false);
        // The model has waited out the delay; the box shows at once.
        m_dialog->setMinimumDuration(0);
        m_dialog->setRange(0, clampToInt(progress.total));
        m_dialog->setValue(0);
    }
    m_dialog->setLabelText(QString::fromStdString(progress.text));
    m_dialog->setValue(clampToInt(progress.done));
    // Paint the box; the user's input waits until the run has ended.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void MergeProgress::hide() {
    m_dialog.reset();
}

} // namespace tallowbrook::app
