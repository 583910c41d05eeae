#pragma once

// What a desktop front end offers the dialog model: it draws what the model
// tells it, hands over what the user chose, and supplies the platform's modal
// boxes. It decides nothing; tests implement it with a fake.

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tallowbrook::dialog {

// A modal box with a single "OK" button; it returns when dismissed.
struct Message {
    enum class Icon { None, Stop };
    std::string caption;
    std::string text;
    // Shown only on request, behind a details control of the box; empty: none.
    std::string details;
    Icon icon = Icon::None;
};

// How far a Merge run has come, for its progress box: files looked at, of all.
struct Progress {
    std::size_t done;
    std::size_t total;
    std::string text; // "File 3 of 40"
};

// A new entry of the file list and the row it takes. Inserted in the order
// given (rows ascending), each lands at its row: all of a batch's earlier
// rows are in place by then.
struct ListInsert {
    std::size_t row = 0;
    std::string_view text; // valid during the call only
};

class DialogView {
public:
    virtual ~DialogView() = default;

    // The file list: the model keeps the order; a view inserts where it is
    // told, a whole batch at once.
    virtual void insertEntries(std::span<const ListInsert> inserts) = 0;
    virtual void clearEntries() = 0;

    // The version chooser: its selection index (0-5, or none), and selecting.
    virtual std::optional<std::size_t> chooserSelection() const = 0;
    virtual void selectChooserEntry(std::size_t index) = 0;

    virtual void setMergeEnabled(bool enabled) = 0;

    // Modal boxes owned by the dialog.
    virtual void showMessage(const Message& message) = 0;
    // The platform's open-file dialog (several files, each must exist, one
    // file type) with `initialName` in its name field; the chosen files' full
    // paths (UTF-8), or none when cancelled.
    virtual std::optional<std::vector<std::string>> chooseFiles(const std::string& initialName) = 0;

    // While a run goes on: the wait cursor, and the progress box, which the
    // first showProgress() opens and hideProgress() closes.
    virtual void setBusy(bool busy) = 0;
    virtual void showProgress(const Progress& progress) = 0;
    virtual void hideProgress() = 0;

    // The application's name, the program file's name without extension: the
    // caption of the report of a failure that ended a command.
    virtual std::string applicationName() const = 0;
};

} // namespace tallowbrook::dialog
