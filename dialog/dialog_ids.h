/* Resource and control IDs of the dialogs, shared by the Windows resource
   script and the C++ of both desktop programs, so it is plain C. */
#ifndef TALLOWBROOK_DIALOG_IDS_H
#define TALLOWBROOK_DIALOG_IDS_H

/* Dialog templates, the About entry's string and the icons. */
#define IDD_ABOUTBOX 100
#define IDS_ABOUTBOX 101
#define IDD_CONVERTER 102
#define IDD_PROGRESS 103 /* the progress box of a long Merge run */
#define IDD_DETAILS 104  /* a box with details shown on request */
#define IDR_MAINFRAME 128 /* the program file's icon */
#define IDI_DIALOG 129    /* the dialogs' icon */

/* Controls of the main dialog. "Done" is the standard OK command (1), Esc and
   the close box the standard cancel command (2). */
#define IDC_DONE 1
#define IDC_CLOSE 2
#define IDC_GET_FILE 1001
#define IDC_MERGE 1002
#define IDC_CHOOSER 1005
#define IDC_FILE_LIST 1006
#define IDC_RESET 1007

/* Controls of the progress box. */
#define IDC_PROGRESS_TEXT 1010
#define IDC_PROGRESS_BAR 1011

/* Controls of the box with details; "OK" is the standard OK command (1). */
#define IDC_DETAILS_TEXT 1020
#define IDC_DETAILS_TOGGLE 1021
#define IDC_DETAILS_FIELD 1022

/* The system-menu command that opens the About box; the platform keeps the low
   four bits of a system command for itself. */
#define IDM_ABOUTBOX 0x0010

#endif
