' Shared by the VBScript hosts (scripts/run-vbs puts it in front of each): the check counters and
' the closing count line that the harness reads.
Option Explicit
Dim passed, failed
passed = 0 : failed = 0

Sub Check(ok, what)
  If ok Then
    passed = passed + 1
  Else
    failed = failed + 1
    WScript.Echo "FAILED: " & what
  End If
End Sub

' Checks the pending error number, then clears it.
Sub CheckError(expected, what)
  Check Err.Number = expected, what & " (Err.Number " & Err.Number & ", expected " & expected & ")"
  Err.Clear
End Sub

Sub ReportCounts()
  WScript.Echo passed & " passed, " & failed & " failed"
End Sub
