#include "dialog/converter_dialog_model.h"

#include <algorithm>
#include <exception>

#include "convert/file_access.h"
#include "convert/file_error.h"
#include "convert/folder_files.h"
#include "convert/inspect.h"
#include "convert/printable_text.h"
#include "convert/merge.h"
#include "convert/outcome_text.h"
#include "dialog/dialog_template.h"
#include "records/version_table.h"

namespace tallowbrook::dialog {

namespace {

constexpr char kEmptyListName[] = "   ";
constexpr char kFolderUnreadable[] = "Folder could not be read \n";

Message plainMessage(std::string text, std::string details = {}) {
    return {TB_TEXT_MESSAGE_CAPTION, std::move(text), std::move(details), Message::Icon::None};
}

// The wait cursor for as long as a run goes on, however it ends.
class BusyScope {
public:
    explicit BusyScope(DialogView& view) : m_view(view) { m_view.setBusy(true); }
    ~BusyScope() { m_view.setBusy(false); }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

private:
    DialogView& m_view;
};

} // namespace

// What a run shows as it goes: each source failure in a box of its own, the
// progress box once the run has taken long enough, and at the end the summary
// with a line per entry behind its details, and under each written entry what
// its conversion dropped, changed or filled in.
class ConverterDialogModel::RunReport final : public MergeEvents {
public:
    explicit RunReport(ConverterDialogModel& model)
        : m_model(model), m_started(std::chrono::steady_clock::now()) {}
    ~RunReport() override {
        if (m_progressShown) {
            m_model.m_view.hideProgress();
        }
    }
    RunReport(const RunReport&) = delete;
    RunReport& operator=(const RunReport&) = delete;

    void entryDone(const EntryOutcome& outcome, std::size_t total) override {
        m_details += describeOutcome(outcome);
        m_details += '\n';
        m_details += changeLines(outcome);
        if (const std::string message = sourceFailureMessage(outcome); !message.empty()) {
            m_model.m_view.showMessage(plainMessage(message));
        }
        if (m_progressShown || std::chrono::steady_clock::now() - m_started >= m_model.m_progressDelay) {
            m_progressShown = true;
            const std::size_t done = outcome.index + 1;
            m_model.m_view.showProgress(
                {done, total, "Merged " + std::to_string(done) + " of " + std::to_string(total) + " files"});
        }
    }

    void runCompleted(const std::string& summary) override {
        m_model.m_view.showMessage(plainMessage(summary, m_details));
        m_model.setMergeEnabled(false);
    }

private:
    ConverterDialogModel& m_model;
    std::chrono::steady_clock::time_point m_started;
    std::string m_details;
    bool m_progressShown = false;
};

ConverterDialogModel::ConverterDialogModel(DialogView& view, SortsBefore sortsBefore)
    : m_view(view), m_sortsBefore(std::move(sortsBefore)) {}

std::vector<std::string> ConverterDialogModel::chooserLabels() {
    std::vector<std::string> labels(kVersionTable.size());
    std::transform(kVersionTable.begin(), kVersionTable.end(), labels.begin(),
                   [](const VersionInfo& version) { return std::string(version.label); });
    return labels;
}

std::size_t ConverterDialogModel::defaultChooserIndex() {
    return kVersionCount - 1;
}

void ConverterDialogModel::start() {
    m_view.selectChooserEntry(defaultChooserIndex());
    setMergeEnabled(true);
}

std::string ConverterDialogModel::offeredName() const {
    return m_entries.empty() ? std::string(kEmptyListName) : m_entries.back();
}

void ConverterDialogModel::getFile() {
    if (m_running) {
        return;
    }
    if (const auto chosen = m_view.chooseFiles(offeredName())) {
        addFiles(*chosen);
    }
}

void ConverterDialogModel::addFiles(const std::vector<std::string>& paths) {
    if (m_running) {
        return;
    }
    for (const std::string& path : paths) {
        addEntry(path);
    }
}

void ConverterDialogModel::addDropped(const std::vector<std::string>& paths) {
    if (m_running) {
        return;
    }
    for (const std::string& path : paths) {
        if (!isFolder(path)) {
            addEntry(path);
            continue;
        }
        try {
            for (const std::string& file : dataFilesIn(path)) {
                addEntry(file);
            }
        } catch (const FileError& error) {
            m_view.showMessage(plainMessage(kFolderUnreadable + error.description()));
        }
    }
}

void ConverterDialogModel::addEntry(const std::string& path) {
    // After every entry that does not sort behind it: equal texts keep the
    // order in which they were added. The list is always in this order, so a
    // binary search finds the place; a selection of thousands of files would
    // otherwise take a comparison of every pair.
    const auto at = std::upper_bound(m_entries.begin(), m_entries.end(), path,
                                     [&](const std::string& text, const std::string& entry) {
                                         return m_sortsBefore(text, entry);
                                     });
    const auto row = static_cast<std::size_t>(at - m_entries.begin());
    m_entries.insert(at, path);
    m_view.insertEntry(row, path);
}

std::string ConverterDialogModel::describeEntry(std::size_t row) const {
    if (row >= m_entries.size()) {
        return {};
    }
    try {
        return describeFile(inspectFile(m_entries[row]));
    } catch (const FileError& error) {
        return "Could not be read: " + printableText(error.description());
    }
}

void ConverterDialogModel::reset() {
    if (m_running) {
        return;
    }
    m_entries.clear();
    m_view.clearEntries();
    m_view.selectChooserEntry(defaultChooserIndex());
    setMergeEnabled(true);
}

void ConverterDialogModel::merge() {
    // A view may pass on a click on the disabled button; it does nothing.
    if (!m_mergeEnabled || m_running || m_entries.empty()) {
        return;
    }
    m_running = true;
    const BusyScope busy(m_view);
    try {
        RunReport report(*this);
        const MergeOutcome outcome = runMerge(MergeRequest{m_entries, m_view.chooserSelection()}, report);
        if (outcome.kind == MergeOutcome::Kind::OutputFailed && outcome.outputError) {
            reportFailure(outcome.outputError->description());
        }
    } catch (const std::exception& error) {
        // Nothing may escape a command into the view's event loop; it is
        // reported as a failed output is, and the dialog stays open.
        reportFailure(error.what());
    }
    m_running = false;
}

void ConverterDialogModel::reportFailure(const std::string& description) {
    m_view.showMessage({m_view.applicationName(), description, {}, Message::Icon::Stop});
}

void ConverterDialogModel::setMergeEnabled(bool enabled) {
    m_mergeEnabled = enabled;
    m_view.setMergeEnabled(enabled);
}

} // namespace tallowbrook::dialog
