// Resource ids of the confirmation window.
#pragma once

#define IDI_quaven 1
#define IDD_frmStartUpdate 301
#define IDB_Picture2 302
#define IDC_SU_Picture2 3001
#define IDC_SU_Label3 3002
#define IDC_SU_Label1 3003
#define IDC_SU_Label2 3004
// "Continue" and "Cancel" carry the dialog's own ids, so Enter and Esc reach them.
#define IDC_SU_cmdOK IDOK
#define IDC_SU_CancelButton IDCANCEL
