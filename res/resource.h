// Identifiers of every resource, control and command of Kelvra Quire Binder.
// windres reads this file too: #defines only.
#ifndef QUIREBINDER_RESOURCE_H
#define QUIREBINDER_RESOURCE_H

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif

// QB_PRODUCT_NAME and the version.
#include "QuireVersion.h"

// Dialog templates
#define IDD_ABOUTBOX 100
#define IDD_QUIREBINDER_DIALOG 102
#define IDD_CHAPTER_TITLE 139
#define IDD_TEXT_LOSS 170
#define IDD_SPLIT_CHAPTER 172

// Main window controls (template 102)
#define IDC_AUTHOR 1000
#define IDC_TITLE 1001
#define IDC_NEW_CHAPTER 1004
#define IDC_DELETE_CHAPTER 1005
#define IDC_RENAME_CHAPTER 1006
#define IDC_IMPORT_TEXT 1009
#define IDC_CONTENTS 1010
#define IDC_CHAPTERS_FRAME 1012
#define IDC_NEW_BOOK 1013
#define IDC_OPEN_BOOK 1014
#define IDC_HEADER_FRAME 1015
#define IDC_SAVE_BOOK 1016
#define IDC_MOVE_UP 1017
#define IDC_MOVE_DOWN 1018
#define IDC_SEND_BOOK 1019
#define IDC_CHAPTER_LABEL 1023
#define IDC_PASTE_TEXT 1024
#define IDC_EDITOR 1032
// Created by the main window at initialisation, not by the template.
#define IDC_STATUS_BAR 101

// About box (template 100)
#define IDC_LINK 1016

// Chapter title dialog (template 139)
#define IDC_CHAPTER_TITLE_BOX 1000

// Characters that a book cannot hold, listed before text goes in (template 170)
#define IDC_LOSS_ICON 1100
#define IDC_LOSS_LIST 1101

// The progress window of Add Chapters from Files, made by the program
#define IDC_PROGRESS_TEXT 1110
#define IDC_PROGRESS_BAR 1111

// Split into Chapters (template 172)
#define IDC_SPLIT_RULE 1120
#define IDC_SPLIT_BLANK_LINES 1121
#define IDC_SPLIT_EXPRESSION 1122
#define IDC_SPLIT_KEEP_LINES 1123
#define IDC_SPLIT_STATUS 1124
#define IDC_SPLIT_PREVIEW 1125

// Menus and accelerators
#define IDR_MAINMENU 129
#define IDR_EDITOR_MENU 158
#define IDR_ACCELERATORS 150
// The shortcuts added to the table above: Save As, Undo, Redo, Find and Replace.
#define IDR_ADDED_ACCELERATORS 151

// Main menu commands
#define IDM_FILE_NEW 57600
#define IDM_FILE_OPEN 57601
#define IDM_FILE_SAVE 57603
#define IDM_FILE_SAVE_AS 32789
#define IDM_FILE_SAVE_SEND 32797
#define IDM_FILE_EXIT 32771
#define IDM_NEW_CHAPTER 32792
#define IDM_RENAME_CHAPTER 32793
#define IDM_DELETE_CHAPTER 32798
#define IDM_MOVE_UP 32794
#define IDM_MOVE_DOWN 32795
#define IDM_IMPORT_TEXT 32790
#define IDM_PASTE_TEXT 32791
#define IDM_EDIT_CUT 57635
#define IDM_EDIT_COPY 57634
#define IDM_EDIT_PASTE 57637
#define IDM_EDIT_DELETE 32786
#define IDM_EDIT_SELECT_ALL 57642
#define IDM_HELP 57670
#define IDM_ABOUT 32788
// Added to the Edit menu: undo and redo of chapter commands.
#define IDM_EDIT_UNDO 32840
#define IDM_EDIT_REDO 32841
// Added to the Edit menu: find and replace across the book.
#define IDM_EDIT_FIND 32842
#define IDM_EDIT_FIND_NEXT 32843
#define IDM_EDIT_REPLACE 32844
#define IDM_EDIT_FIND_TITLES 32845
// Added to the File menu above Exit: the recent books, 1 to 8.
#define IDM_RECENT_BOOK_FIRST 32850
#define IDM_RECENT_BOOK_LAST 32857
#define IDM_ADD_CHAPTERS 32830
#define IDM_MERGE_NEXT 32831
#define IDM_SPLIT_INTO_CHAPTERS 32832
#define IDM_SPLIT_AT_CURSOR 32833

// Chapter editor's context menu commands
#define IDM_EDITOR_UNDO 32811
#define IDM_EDITOR_CUT 32807
#define IDM_EDITOR_COPY 32808
#define IDM_EDITOR_PASTE 32809
#define IDM_EDITOR_DELETE 32810
#define IDM_EDITOR_SELECT_ALL 32806
// IDM_SPLIT_AT_CURSOR is in this menu too: one command, wherever it is chosen.

// System menu entry; its low four bits are clear, as system commands require.
#define IDM_ABOUTBOX 16

// Icons
#define IDI_QUIREBINDER 128
#define IDI_DELETE_CHAPTER 140
#define IDI_RENAME_CHAPTER 141
#define IDI_NEW_CHAPTER 142
#define IDI_IMPORT_TEXT 143
#define IDI_MOVE_DOWN 144
#define IDI_MOVE_UP 145
#define IDI_PASTE_TEXT 146
#define IDI_SAVE_BOOK 147
#define IDI_OPEN_BOOK 148
#define IDI_NEW_BOOK 149
#define IDI_SEND_BOOK 155

// Strings
#define IDS_ABOUTBOX 101
#define IDS_TIP_NEW_CHAPTER 102
#define IDS_TIP_DELETE_CHAPTER 103
#define IDS_TIP_RENAME_CHAPTER 104
#define IDS_TIP_IMPORT_TEXT 105
#define IDS_TIP_MOVE_UP 106
#define IDS_TIP_MOVE_DOWN 107
#define IDS_TIP_PASTE_TEXT 108
#define IDS_TIP_NEW_BOOK 109
#define IDS_TIP_OPEN_BOOK 110
#define IDS_TIP_SAVE_BOOK 111
#define IDS_REGISTRY_KEY 32448
#define IDS_TIP_SEND_BOOK 32450

#endif
