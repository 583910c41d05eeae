#pragma once

// The templates' numbers and texts for C++: each TB_RECT_ of dialog_template.h
// as a DialogRect, each size as a DialogSize.

#include "dialog/dialog_template.h"

namespace tallowbrook::dialog {

// A control's place in dialog units: a quarter of the dialog font's average
// character width horizontally, an eighth of its height vertically.
struct DialogRect {
    int x;
    int y;
    int width;
    int height;
    friend constexpr bool operator==(const DialogRect&, const DialogRect&) = default;
};

struct DialogSize {
    int width;
    int height;
};

namespace layout {
inline constexpr DialogSize kConverter{TB_SIZE_CONVERTER};
inline constexpr DialogRect kDone{TB_RECT_DONE};
inline constexpr DialogRect kFileLabel{TB_RECT_FILE_LABEL};
inline constexpr DialogRect kGetFile{TB_RECT_GET_FILE};
inline constexpr DialogRect kMerge{TB_RECT_MERGE};
inline constexpr DialogRect kChooserLabel{TB_RECT_CHOOSER_LABEL};
inline constexpr DialogRect kChooser{TB_RECT_CHOOSER};
inline constexpr DialogRect kFileList{TB_RECT_FILE_LIST};
inline constexpr DialogRect kReset{TB_RECT_RESET};

inline constexpr DialogSize kAbout{TB_SIZE_ABOUT};
inline constexpr DialogRect kAboutIcon{TB_RECT_ABOUT_ICON};
inline constexpr DialogRect kAboutName{TB_RECT_ABOUT_NAME};
inline constexpr DialogRect kAboutNotice{TB_RECT_ABOUT_NOTICE};
inline constexpr DialogRect kAboutOk{TB_RECT_ABOUT_OK};

inline constexpr DialogSize kProgress{TB_SIZE_PROGRESS};
inline constexpr DialogRect kProgressText{TB_RECT_PROGRESS_TEXT};
inline constexpr DialogRect kProgressBar{TB_RECT_PROGRESS_BAR};

inline constexpr DialogSize kDetails{TB_SIZE_DETAILS};
inline constexpr DialogRect kDetailsText{TB_RECT_DETAILS_TEXT};
inline constexpr DialogRect kDetailsOk{TB_RECT_DETAILS_OK};
inline constexpr DialogRect kDetailsToggle{TB_RECT_DETAILS_TOGGLE};
inline constexpr DialogRect kDetailsField{TB_RECT_DETAILS_FIELD};
} // namespace layout

} // namespace tallowbrook::dialog
