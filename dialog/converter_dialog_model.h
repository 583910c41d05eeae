#pragma once

// Everything the main dialog decides, apart from any toolkit: the file list's
// order, the name offered to the open-file dialog, the commands Add, Merge and
// Reset, the ready and merged states, and what a Merge run shows. Both desktop
// programs are views over it.

#include <chrono>
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "text/case_blind_order.h"
#include "dialog/dialog_view.h"

namespace tallowbrook::dialog {

// The platform's order of texts: true when `left` sorts before `right`.
using SortsBefore = std::function<bool(std::string_view left, std::string_view right)>;

// The time a run measures its progress by; tests put a fake clock in.
using Clock = std::function<std::chrono::steady_clock::time_point()>;

class ConverterDialogModel {
public:
    static constexpr std::chrono::milliseconds kProgressDelay{500};
    // The progress box is redrawn at most this often, and once at the end:
    // redrawing it per file would cost as much as the files.
    static constexpr std::chrono::milliseconds kProgressInterval{50};

    explicit ConverterDialogModel(DialogView& view, SortsBefore sortsBefore = sortsBeforeIgnoringCase);

    ~ConverterDialogModel() = default;
    ConverterDialogModel(const ConverterDialogModel&) = delete;
    ConverterDialogModel& operator=(const ConverterDialogModel&) = delete;
    ConverterDialogModel(ConverterDialogModel&&) = delete;
    ConverterDialogModel& operator=(ConverterDialogModel&&) = delete;

    // The chooser's labels in index order, which is also their sorted order.
    static std::vector<std::string> chooserLabels();
    // The chooser's entry at start and after Reset: the last, "Version 8.02".
    static std::size_t defaultChooserIndex();

    // Once the view's controls exist: the chooser at its default, "Merge" enabled.
    void start();

    // "Get File": offers offeredName() to the open-file dialog and adds what it
    // returns; a cancel changes nothing.
    void getFile();
    // Each path at its sorted place, unchanged; a path already listed is added
    // again, behind the equal ones. The batch is sorted once and merged into
    // the list, so adding N files costs N log N in whatever order they come.
    void addFiles(std::vector<std::string> paths);
    // Dropped files are added as Get File adds them; a dropped folder adds its
    // ".dat" files (any letter case).
    void addDropped(const std::vector<std::string>& paths);
    // "Merge": converts every entry to the chosen version.
    void merge();
    // "Reset": empties the list, selects the default version, enables "Merge".
    void reset();

    // What the file of the entry at `row` is, for the list's hover text: its
    // version and device name, or why it is not a configuration file. Reads
    // the file each time, as it may have changed since it was listed.
    std::string describeEntry(std::size_t row) const;

    // The last entry's text, or three blanks on an empty list.
    std::string offeredName() const;
    const std::vector<std::string>& entries() const { return m_entries; }

    // How long a run goes before its progress box appears.
    void setProgressDelay(std::chrono::milliseconds delay) { m_progressDelay = delay; }
    void setClock(Clock clock) { m_clock = std::move(clock); }

private:
    class RunReport;

    void addBatch(std::vector<std::string> paths);
    void setMergeEnabled(bool enabled);
    void reportFailure(const std::string& description);

    DialogView& m_view;
    SortsBefore m_sortsBefore;
    std::vector<std::string> m_entries;
    bool m_mergeEnabled = true;
    // The list must not change under a run, whatever a view lets through.
    bool m_running = false;
    std::chrono::milliseconds m_progressDelay = kProgressDelay;
    Clock m_clock = std::chrono::steady_clock::now;
};

} // namespace tallowbrook::dialog
