#pragma once

// What the dialog scenarios ask of a view's test program: a driver that works
// its main dialog as a user would and reports what the user sees. The same
// scenarios run on the model through a fake view, on the Qt dialog and on the
// native dialog; each program links the one driver of its view.

#include <chrono>
#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "dialog/dialog_ids.h"

namespace tallowbrook::dialog::test {

using Paths = std::vector<std::string>;

// The main dialog's controls, by their control IDs.
enum class Control {
    None = 0,
    Done = IDC_DONE,
    GetFile = IDC_GET_FILE,
    Merge = IDC_MERGE,
    Chooser = IDC_CHOOSER,
    List = IDC_FILE_LIST,
    Reset = IDC_RESET
};

// The progress box as it stood while another box was up.
struct ProgressShown {
    std::string text;
    std::size_t done = 0;
    std::size_t total = 0;
    friend bool operator==(const ProgressShown&, const ProgressShown&) = default;
};

// A box the dialog showed, and how the dialog stood while it was up.
struct Box {
    std::string caption;
    std::string text;
    std::string details;
    bool stop = false; // the stop icon
    bool busy = false; // the wait cursor
    std::optional<ProgressShown> progress;
};

class ScenarioDriver {
public:
    virtual ~ScenarioDriver() = default;

    // A click on a button: a disabled one takes none.
    virtual void click(Control button) = 0;
    // What the open-file dialog answers when it next comes up: files, or none
    // for a cancel; and the names it was offered, each time.
    virtual void answerOpenFile(std::optional<Paths> chosen) = 0;
    virtual Paths offeredNames() = 0;
    // "Get File", the user choosing `paths`, or cancelling.
    void add(const Paths& paths) {
        answerOpenFile(paths);
        click(Control::GetFile);
    }
    void add(std::nullopt_t) {
        answerOpenFile(std::nullopt);
        click(Control::GetFile);
    }
    // Files and folders dropped on the dialog.
    virtual void drop(const Paths& paths) = 0;
    // The text shown while the pointer rests on the entry at `row`.
    virtual std::string hoverText(std::size_t row) = 0;

    virtual Paths listed() = 0;
    virtual Paths chooserLabels() = 0;
    virtual std::optional<std::size_t> chosen() = 0;
    virtual void choose(std::optional<std::size_t> row) = 0;
    virtual bool mergeEnabled() = 0;
    virtual bool busy() = 0;
    virtual bool progressShown() = 0;
    // The boxes shown so far, in order.
    virtual const std::vector<Box>& boxes() = 0;

    // How long a Merge run goes before its progress box appears.
    virtual void setProgressDelay(std::chrono::milliseconds delay) = 0;
    // The caption of a report of a failure: the program file's name.
    virtual std::string programName() = 0;
};

enum class Key { Tab, Space, Up, Enter, Escape };

// A dialog with a window: keys, the focus, the About box and the ways it ends.
class WindowDriver : public ScenarioDriver {
public:
    // Shows the dialog as the program starts it, active.
    virtual void show() = 0;
    // A key pressed and let go in the dialog, at the control with the focus.
    virtual void press(Key key) = 0;
    virtual Control focused() = 0;
    // The button Enter presses, and whether a button is drawn as that one.
    virtual Control defaultButton() = 0;
    virtual bool drawnAsDefault(Control button) = 0;
    // Picks the chooser's entry at `row` with the mouse.
    virtual void chooseByMouse(std::size_t row) = 0;
    // Boxes from now on are the platform's own, closed by Enter or a click on "OK".
    virtual void useRealBoxes(bool byKeyboard) = 0;
    // Opens the About box from the system menu (by keyboard or by mouse) and
    // closes it (Esc or "OK"); false when no About box came up.
    virtual bool openAndCloseAbout(bool byKeyboard) = 0;
    // The title bar's close box.
    virtual void closeBox() = 0;
    // Waits for the dialog to end: true when accepted ("Done"), false when
    // cancelled, none when it is still up after a few seconds.
    virtual std::optional<bool> waitForEnd() = 0;
};

// Defined once in each view's test program.
std::unique_ptr<ScenarioDriver> makeDriver();
std::unique_ptr<WindowDriver> makeWindowDriver();

} // namespace tallowbrook::dialog::test
