// Resource ids of the protection warning window.
#pragma once

#define IDD_frmWRPWarn 201
#define IDC_Label1 1001
#define IDC_Label2 1002
#define IDC_Label3 1003
#define IDC_Label4 1004
#define IDC_Label5 1005
#define IDC_chkTurnOff 1006
#define IDC_OKButton0 1010
#define IDC_OKButton1 1011
