/* The dialogs as the templates draw them: texts, and positions and sizes in
   dialog units (x, y, width, height). The Windows resource script builds its
   templates from these, the Qt dialog lays itself out from the same numbers,
   so the two cannot drift apart. Plain C macros, as resource scripts read
   only the preprocessor; C++ code reads them through dialog_layout.h. */
#ifndef TALLOWBROOK_DIALOG_TEMPLATE_H
#define TALLOWBROOK_DIALOG_TEMPLATE_H

#include "tallowbrook_version.h"

#define TB_FONT_NAME "MS Sans Serif"
#define TB_FONT_POINTS 8

/* The caption of the program's own message boxes. */
#define TB_TEXT_MESSAGE_CAPTION "Tallowbrook"

/* Main dialog (template 102). Controls are listed in tab order. */
#define TB_SIZE_CONVERTER 284, 121
#define TB_TEXT_CONVERTER_CAPTION "Tallowbrook 5.0 Beta"
#define TB_RECT_DONE 220, 72, 50, 14
#define TB_TEXT_DONE "Done"
#define TB_RECT_FILE_LABEL 12, 7, 59, 8
#define TB_TEXT_FILE_LABEL "Configuration File: "
#define TB_RECT_GET_FILE 220, 15, 50, 14
#define TB_TEXT_GET_FILE "Get File"
#define TB_RECT_MERGE 219, 34, 50, 14
#define TB_TEXT_MERGE "Merge"
#define TB_RECT_CHOOSER_LABEL 14, 86, 34, 8
#define TB_TEXT_CHOOSER_LABEL "Merge To:"
/* The chooser's height includes its dropped list. */
#define TB_RECT_CHOOSER 51, 85, 93, 47
#define TB_RECT_FILE_LIST 13, 17, 196, 61
#define TB_RECT_RESET 219, 53, 50, 14
#define TB_TEXT_RESET "Reset"

/* The system-menu entry that opens the About box (string 101). */
#define TB_TEXT_ABOUT_ENTRY "&About Tallowbrook..."

/* About box (template 100). */
#define TB_SIZE_ABOUT 235, 55
#define TB_TEXT_ABOUT_CAPTION "About Tallowbrook"
#define TB_RECT_ABOUT_ICON 9, 10, 20, 20
#define TB_RECT_ABOUT_NAME 40, 10, 119, 8
#define TB_TEXT_ABOUT_NAME "Tallowbrook Version 5.0 Beta"
#define TB_RECT_ABOUT_NOTICE 40, 25, 119, 8
/* Worded to fit its static at the dialog font, as the fit tests measure. */
#define TB_TEXT_ABOUT_NOTICE "Release " TALLOWBROOK_VERSION ", (C) the authors"
#define TB_RECT_ABOUT_OK 178, 7, 50, 14
#define TB_TEXT_ABOUT_OK "OK"

/* Progress box of a long Merge run (template 103): a line of text over a bar.
   The text is filled in as the run goes. */
#define TB_SIZE_PROGRESS 186, 46
#define TB_TEXT_PROGRESS_CAPTION "Tallowbrook"
#define TB_RECT_PROGRESS_TEXT 7, 7, 172, 8
#define TB_RECT_PROGRESS_BAR 7, 20, 172, 12

/* The summary with its details (template 104): the text over "Show
   Details..." and "OK"; the details field below them shows only on request,
   and the box grows to hold it. The size is the box without the field. The
   field is as wide as a typical details line; longer lines scroll sideways. */
#define TB_SIZE_DETAILS 340, 49
#define TB_RECT_DETAILS_TEXT 7, 7, 326, 16
#define TB_RECT_DETAILS_OK 283, 28, 50, 14
#define TB_TEXT_DETAILS_OK "OK"
#define TB_RECT_DETAILS_TOGGLE 7, 28, 64, 14
#define TB_TEXT_DETAILS_SHOW "Show Details..."
#define TB_TEXT_DETAILS_HIDE "Hide Details"
#define TB_RECT_DETAILS_FIELD 7, 49, 326, 140

#endif
