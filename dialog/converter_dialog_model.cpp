#include "dialog/converter_dialog_model.h"

#include <algorithm>
#include <exception>
#include <iterator>

#include "files/file_access.h"
#include "files/file_error.h"
#include "files/folder_files.h"
#include "convert/inspect.h"
#include "convert/merge.h"
#include "convert/outcome_text.h"
#include "files/path_syntax.h"
#include "text/printable_text.h"
#include "dialog/dialog_template.h"
#include "records/version_table.h"

namespace tallowbrook::dialog {

namespace {

constexpr char kEmptyListName[] = "   ";

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
// its conversion dropped, changed or filled in. The progress box is gone
// before the box that ends the run (the summary, or the report of a failure)
// appears.
class ConverterDialogModel::RunReport final : public MergeEvents {
public:
    explicit RunReport(ConverterDialogModel& model) : m_model(model), m_started(model.m_clock()) {}
    ~RunReport() override { closeProgress(); }
    RunReport(const RunReport&) = delete;
    RunReport& operator=(const RunReport&) = delete;

    void entryDone(const EntryOutcome& outcome, std::size_t total) override {
        addDetails(outcome);
        // The progress box stays as it is while this box is up.
        if (const std::string message = sourceFailureMessage(outcome); !message.empty()) {
            m_model.m_view.showMessage(plainMessage(message));
        }
        showProgress(outcome.index + 1, total);
    }

    void runCompleted(const std::string& summary) override {
        closeProgress();
        m_model.m_view.showMessage(plainMessage(summary, m_details));
        m_model.setMergeEnabled(false);
    }

private:
    // The summary's details: a line for each entry, naming the output by its
    // file name alone, as it is always beside its source. Lines that say more
    // about an entry belong right under its own.
    void addDetails(const EntryOutcome& outcome) {
        EntryOutcome shown = outcome;
        shown.output.erase(0, fileNameStart(outcome.output));
        m_details += describeOutcome(shown);
        m_details += '\n';
        m_details += changeLines(outcome);
    }

    // Files looked at, of all; not before the delay, then at most once per
    // interval, and once more for the last file.
    void showProgress(std::size_t looked, std::size_t total) {
        const auto now = m_model.m_clock();
        if (!m_progressShown && now - m_started < m_model.m_progressDelay) {
            return;
        }
        if (m_progressShown && looked < total && now - m_lastProgress < kProgressInterval) {
            return;
        }
        m_progressShown = true;
        m_lastProgress = now;
        m_model.m_view.showProgress(
            {looked, total, "File " + std::to_string(looked) + " of " + std::to_string(total)});
    }

    void closeProgress() {
        if (m_progressShown) {
            m_progressShown = false;
            m_model.m_view.hideProgress();
        }
    }

    ConverterDialogModel& m_model;
    std::chrono::steady_clock::time_point m_started;
    std::chrono::steady_clock::time_point m_lastProgress{};
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

void ConverterDialogModel::addFiles(std::vector<std::string> paths) {
    if (m_running) {
        return;
    }
    addBatch(std::move(paths));
}

void ConverterDialogModel::addDropped(const std::vector<std::string>& paths) {
    if (m_running) {
        return;
    }
    std::vector<std::string> files;
    for (const std::string& path : paths) {
        if (!isFolder(path)) {
            files.push_back(path);
            continue;
        }
        try {
            std::vector<std::string> inFolder = dataFilesIn(path);
            files.insert(files.end(), std::make_move_iterator(inFolder.begin()),
                         std::make_move_iterator(inFolder.end()));
        } catch (const FileError& error) {
            m_view.showMessage(plainMessage(std::string(kFolderUnreadable) + error.what()));
        }
    }
    addBatch(std::move(files));
}

void ConverterDialogModel::addBatch(std::vector<std::string> paths) {
    if (paths.empty()) {
        return;
    }
    const auto before = [&](const std::string& left, const std::string& right) {
        return m_sortsBefore(left, right);
    };
    // Equal texts keep the order in which they were added: the batch's own
    // order among themselves, and behind those already listed.
    std::stable_sort(paths.begin(), paths.end(), before);
    std::vector<std::string> merged;
    merged.reserve(m_entries.size() + paths.size());
    std::vector<std::size_t> newRows;
    newRows.reserve(paths.size());
    auto listed = m_entries.begin();
    for (std::string& path : paths) {
        while (listed != m_entries.end() && !before(path, *listed)) {
            merged.push_back(std::move(*listed++));
        }
        newRows.push_back(merged.size());
        merged.push_back(std::move(path));
    }
    merged.insert(merged.end(), std::make_move_iterator(listed), std::make_move_iterator(m_entries.end()));
    m_entries = std::move(merged);

    std::vector<ListInsert> inserts(newRows.size());
    std::transform(newRows.begin(), newRows.end(), inserts.begin(), [&](std::size_t row) {
        return ListInsert{row, m_entries[row]};
    });
    m_view.insertEntries(inserts);
}

std::string ConverterDialogModel::describeEntry(std::size_t row) const {
    if (row >= m_entries.size()) {
        return {};
    }
    try {
        return describeFile(inspectFile(m_entries[row]));
    } catch (const FileError& error) {
        return "Could not be read: " + printableText(error.what());
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
        MergeOutcome outcome;
        {
            // Its end closes the progress box, before any report below.
            RunReport report(*this);
            // The chooser's rows are the versions in table order; no row, or
            // one past them, names no version.
            const std::optional<std::size_t> row = m_view.chooserSelection();
            outcome = runMerge(MergeRequest{m_entries, row ? versionAt(*row) : std::nullopt}, report);
        }
        if (outcome.kind == MergeOutcome::Kind::OutputFailed && outcome.outputError) {
            reportFailure(outcome.outputError->what());
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
