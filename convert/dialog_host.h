#pragma once

// The dialog operations the Merge command needs of whatever runs it: the
// desktop dialog, the command line and the tests all provide these.

#include <cstddef>
#include <optional>
#include <string>

namespace tallowbrook {

class DialogHost {
public:
    virtual ~DialogHost() = default;

    // Number of file-list entries.
    virtual std::size_t entryCount() const = 0;
    // Text of the entry at `index` (a path, UTF-8).
    virtual std::string entryText(std::size_t index) const = 0;
    // The version chooser's selection index: 0-5, or none.
    virtual std::optional<std::size_t> chooserIndex() const = 0;
    // Disables the "Merge" button.
    virtual void disableMerge() = 0;
    // A modal message box with caption "Tallowbrook", one "OK" button and no
    // icon; returns when the user dismisses it.
    virtual void showMessage(const std::string& text) = 0;
    // Shows the run's summary; a dialog shows it like any other message, a
    // command line may print it elsewhere.
    virtual void showSummary(const std::string& text) { showMessage(text); }

    // Observers a front end may use; the run does not depend on them.
    // Called after each entry is done, with the number done and the total.
    virtual void entryDone(std::size_t /*done*/, std::size_t /*total*/) {}
    // Called after an output file has been completely written.
    virtual void outputWritten(const std::string& /*path*/) {}
};

} // namespace tallowbrook
