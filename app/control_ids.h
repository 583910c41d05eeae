#pragma once

// Every control of the dialogs carries a descriptive objectName, for tests and
// style sheets, and its numeric control ID in the dynamic property "controlId":
//   1    "doneButton"     "Done" (the About box's "OK" is "aboutOkButton")
//   1001 "getFileButton"  "Get File"
//   1002 "mergeButton"    "Merge"
//   1005 "versionChooser" the version chooser
//   1006 "fileList"       the file list
//   1007 "resetButton"    "Reset"

namespace tallowbrook::app {

inline constexpr char kControlIdProperty[] = "controlId";

inline constexpr int kIdDone = 1;
inline constexpr int kIdGetFile = 1001;
inline constexpr int kIdMerge = 1002;
inline constexpr int kIdVersionChooser = 1005;
inline constexpr int kIdFileList = 1006;
inline constexpr int kIdReset = 1007;

// The system-menu command that opens the About box; the platform keeps the low
// four bits of a system command for itself.
inline constexpr unsigned kIdmAboutBox = 0x0010;

// The About entry's text (string 101); "&" marks the mnemonic letter.
inline constexpr char kAboutEntryText[] = "&About Tallowbrook...";

} // namespace tallowbrook::app
