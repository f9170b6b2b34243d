// Resource identifiers of binshredder.exe: dialogs, menus, pictures, strings
// and the controls and commands inside them.
#pragma once

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif

// Dialogs
#define IDD_ABOUTBOX 100
#define IDD_MAIN 102
#define IDD_OPTION 130
#define IDD_PROGRESS 155
#define IDD_FREESPACE_PROGRESS 156
#define IDD_FREESPACE_DRIVES 157
#define IDD_WAITING 158

// Strings
#define IDS_ABOUTBOX 101

// Pictures
#define IDB_OPTION 133
#define IDB_ERASE 134
#define IDB_HIDE 135
#define IDB_OPTION_DISABLED 139
#define IDI_MAIN 143
#define IDB_LOGO 144
#define IDR_MAIN_MENU 145
#define IDI_TRAY 147
#define IDB_WEB 148
#define IDB_HELP 149

// Main window controls (buttons 1 and 2 are IDOK and IDCANCEL)
#define IDC_OPTION 1000
#define IDC_WEB 1008
#define IDC_HELP_BUTTON 1010

// Progress window (the free-space erase's has the line under the bar too)
#define IDC_STOP 1000
#define IDC_PROGRESS 1032
#define IDC_PROGRESS_DETAIL 1033

// The free-space erase's drive list
#define IDC_DRIVES 1034

// The waiting window (with IDC_PROGRESS and IDC_STOP)
#define IDC_WAIT_TEXT 1035

// About box
#define IDC_PRODUCT_NAME 1002
#define IDC_COPYRIGHT 1006
#define IDC_VERSION 1007
#define IDC_LOGO 1009

// Options dialog
#define IDC_RBVERB 1011
#define IDC_INTERVAL 1016
#define IDC_AUTODEL 1017
#define IDC_DELONQUIT 1019
#define IDC_DELONQUITMSG 1020
#define IDC_PASSES 1029

// Menu and tray commands
#define ID_TRAY_ABOUT 32771
#define ID_TRAY_ERASE 32773
#define ID_TRAY_FREESPACE 32775
#define ID_MENU_ABOUT 32780
#define ID_MENU_HELP 32782
#define ID_MENU_OPTION 32784
#define ID_MENU_FREESPACE 32786

// System menu entry of the main window (low four bits must stay clear)
#define IDM_ABOUTBOX_SYS 0x0010

// Automatic erase timer and the tray icon's callback message (WM_APP + 0x65)
#define IDT_AUTOERASE 1
#define WM_TRAYNOTIFY 0x8065
