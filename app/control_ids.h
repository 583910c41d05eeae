#pragma once

// Every control of the dialogs carries a descriptive objectName, for tests and
// style sheets, and its numeric control ID (dialog/dialog_ids.h) in the
// dynamic property "controlId":
//   IDC_DONE      "doneButton"     "Done" (the About box's "OK" is "aboutOkButton")
//   IDC_GET_FILE  "getFileButton"  "Get File"
//   IDC_MERGE     "mergeButton"    "Merge"
//   IDC_CHOOSER   "versionChooser" the version chooser
//   IDC_FILE_LIST "fileList"       the file list
//   IDC_RESET     "resetButton"    "Reset"

#include "dialog/dialog_ids.h"

namespace tallowbrook::app {

inline constexpr char kControlIdProperty[] = "controlId";

} // namespace tallowbrook::app
