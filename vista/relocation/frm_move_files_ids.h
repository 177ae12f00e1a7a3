// Resource ids of the progress window.
#pragma once

#define IDD_frmMoveFiles 202
#define IDB_Image1 203
#define IDC_MF_Image1 1101
#define IDC_MF_Label1 1102
#define IDC_MF_lblPlsWait 1103
#define IDC_MF_cmdExit 1104
#define IDC_MF_txtMsg 1105
#define IDC_MF_cmdSaveLog 1106
