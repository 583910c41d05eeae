#pragma once

// Stands in for the system's open-file dialog and message boxes in the
// native dialog's tests: it fills the dialog's result buffer the way the
// system does, so the program's own buffer handling and parsing run, and
// records every box the dialog asked for.

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "tests/support/scripted_chooser.h"
#include "win32/interaction_seams.h"

namespace tallowbrook::win32::test {

// What the user picks: full paths, all in one folder when more than one.
using Selection = std::vector<std::wstring>;

class FakeSystem {
public:
    UiSeams seams();

    // The open-file dialog's answers, in turn, and the names it was offered.
    tallowbrook::test::ScriptedChooser<std::wstring> chooser;
    // The dialog as it was asked for, each time.
    struct Request {
        HWND owner;
        DWORD options;
        std::wstring filter; // its texts joined by '|'
        std::wstring initialName;
        std::size_t room;
    };
    std::vector<Request> requests;

    std::vector<BoxRequest> boxes;
    // Called with each box while it is "up", before it is recorded.
    std::function<void(const BoxRequest&)> onBox;

private:
    BOOL answer(OPENFILENAMEW& request);
    DWORD m_error = 0;
};

} // namespace tallowbrook::win32::test
