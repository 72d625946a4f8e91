// Resource and control ids; the numbers are the ones the templates and peers use.
#pragma once

#define IDD_ABOUTBOX 100
#define IDD_MAIN 101
#define IDR_MAINFRAME 128
#define IDB_KIND_IMAGES 129
#define IDD_RESTART_NOTICE 130
#define IDD_KEY_PRESS 131
#define IDR_KEY_LIST_MENU 132

#define IDC_MAPPED_LIST 1000
#define IDC_MAP 1001
#define IDC_UNMAP 1002
#define IDC_SAVE 1003
#define IDC_ABOUT 1005
#define IDC_LOAD 1006
#define IDC_DISABLE 1007
#define IDC_FROM_LIST 1009
#define IDC_TO_LIST 1010
#define IDC_SWAP 1011
#define IDC_MAPPED_GROUP 1012
#define IDC_DONT_SHOW_AGAIN 1013
#define IDC_KEY_PROMPT 1014
#define IDC_PRESSED_KEY 1015
#define IDC_HOLD_STATE 1016

#define IDM_SELECT_BY_KEY 32771

#define IDS_APP_TITLE 57344
#define ID_HELP 57670
