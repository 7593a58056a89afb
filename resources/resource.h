// Resource ids of SETUP.EXE and UNINSTAL.EXE, grouped by what uses them. Included by the
// resource files and the code.
#pragma once

// ---- string table ----
#define IDS_DISKLABEL        1
#define IDS_DIRECTORYNAME    2
#define IDS_FILECOUNTS       3
#define IDS_DISK1            4   // IDS_DISK1 + n - 1 is Diskn, n = 1..6
#define IDS_ROOTDIR         10   // IDS_ROOTDIR + k is the name of DirKey k, k = 0..9
#define IDS_READ_ERROR      20
#define IDS_MAIN            22
#define IDS_DEFAULTPATH     23
#define IDS_MINIMUMSPACE    25
#define IDS_NOT_COMPLETED   28
#define IDS_SETUP_PROGRAM   29
#define IDS_PRODUCTNAME     30
#define IDS_CANNOT_CREATE   33
#define IDS_NO_SPACE        34
#define IDS_COPYING         36
#define IDS_STARTUP         41
#define IDS_TITLE           43
#define IDS_WRONG_PLATFORM  44
#define IDS_MFG             45
#define IDS_MOUSEDRIVER     46
#define IDS_MOUSEINF        47
#define IDS_DRIVERDATE      48
#define IDS_PS2INFSECTION   49
#define IDS_SERIALINFSECTION 50
#define IDS_PS2NAME         51
#define IDS_SEIALNAME       52
#define IDS_DRIVER_SWITCHED 53
#define IDS_SETUP_SWITCHES  54
#define IDS_JOURNAL_LOST    55
#define IDS_COPY_CANNOT     56
#define IDS_COPY_NO_SOURCE  57
#define IDS_COPY_NO_DEST    58
#define IDS_COPY_DAMAGED    59
// UNINSTAL.EXE's own texts (uninstall.rc)
#define IDS_UNINSTALL       60
#define IDS_UNINSTALL_ASK   61
#define IDS_UNINSTALL_DONE  62
#define IDS_UNINSTALL_NO_SCRIPT 63
#define IDS_UNINSTALL_NOT_INSTALLED 64
#define IDS_UNINSTALL_SHARED 65
#define IDS_UNINSTALL_SHARED_END 66
#define IDS_UNINSTALL_LEFT_ALONE 67
#define IDS_UNINSTALL_SWITCHES 68
#define IDS_UNINSTALL_LEFT  69
#define IDS_UNINSTALL_UNDONE 70
#define IDS_COPY_SOURCE_TOO_LONG 71
#define IDS_COPY_DEST_TOO_LONG 72
#define IDS_UPDATING_REGISTRY 73
#define IDS_WARNING         74
#define IDS_SETUP           75
#define IDS_COPY_NAME_TOO_LONG 76

// ---- dialog templates ----
#define IDD_BEGIN     101
#define IDD_END       102
#define IDD_INSTALL   103
#define IDD_BROWSE    104
#define IDD_SELDIR    107
#define IDD_SELMOUSE  108

// ---- controls shared by the pages ----
#define IDC_NEXT          1   // also Finish on SETUP_END
#define IDC_CANCEL        2
#define IDC_BACK          3
#define IDC_RULE       1006
#define IDC_SIDEBITMAP 1022
#define IDC_TEXT1      1023   // placeholder text of SETUP_SELDIR and SETUP_END; welcome line
#define IDC_TEXT2      1024   // placeholder text of SETUP_BEGIN

// ---- SETUP_SELMOUSE ----
#define IDC_SERIAL     1034
#define IDC_PS2        1035

// ---- SETUP_SELDIR ----
#define IDC_DESTDIR    1003
#define IDC_BROWSE     1025

// ---- SETUP_INSTALL ----
#define IDC_STOP_COPYING  1   // its Cancel button, the default push button (id 1)
#define IDC_FRAME1     1009
#define IDC_FRAME2     1010
#define IDC_GAUGE      1011
#define IDC_FRAME4     1012
#define IDC_PERCENT    1013
#define IDC_PERCENT2   1014
#define IDC_ICON1      1015
#define IDC_ICON2      1016
#define IDC_ICON3      1017
#define IDC_ICON4      1018
#define IDC_STATUS     1019

// ---- SETUP_END ----
#define IDC_RESTART_NOW   1032
#define IDC_RESTART_LATER 1033

// ---- browser (template 104): ids the old-style open dialog looks for ----
#define IDC_BROWSE_PATH   1003
#define IDC_READONLY      1040
#define IDC_DIRLABEL      1088
#define IDC_TYPELABEL     1089
#define IDC_NAMELABEL     1090
#define IDC_DRIVELABEL    1091
#define IDC_TYPELABEL2    1092
#define IDC_FILELIST      1120
#define IDC_DIRLIST       1121
#define IDC_TYPECOMBO     1136
#define IDC_DRIVECOMBO    1137
#define IDC_FILENAME      1152

// ---- artwork ----
#define IDB_PS2MOUSE    112
#define IDB_SERIALMOUSE 113
#define IDB_SIDE        304
#define IDB_BANNER_TOP  306
#define IDB_BANNER_LOW  307
#define IDI_WELCOME     200
#define IDI_DISK        201
#define IDI_COMPUTER    202
