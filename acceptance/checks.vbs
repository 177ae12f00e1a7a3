' Shared by the VBScript hosts (scripts/run-vbs puts it in front of each): the check counters and
' the closing count line that the harness reads.
'
' Inside On Error Resume Next, a check whose expression raises is skipped as a whole statement and
' leaves its error pending. So every check first counts a pending error as a failure, and a region
' holds, besides checks, only statements that are each followed at once by a check: a statement
' that must raise with its CheckError, and it ends with a check (CheckError 0 where nothing is
' left to look at). A check of a value after a statement that must raise goes after the region,
' where an error stops the host before its count line.
Option Explicit
Dim passed, failed
passed = 0 : failed = 0

Sub Check(ok, what)
  If Err.Number <> 0 Then
    failed = failed + 1
    WScript.Echo "FAILED: an error left pending before the check '" & what & "': " & Err.Number & " " & Err.Description
    Err.Clear
  End If
  If ok Then
    passed = passed + 1
  Else
    failed = failed + 1
    WScript.Echo "FAILED: " & what
  End If
End Sub

' Checks the pending error number (0: none), then clears it.
Sub CheckError(expected, what)
  Dim number
  number = Err.Number
  Err.Clear
  Check number = expected, what & " (Err.Number " & number & ", expected " & expected & ")"
End Sub

' Checks that some error is pending, then clears it.
Sub CheckRaised(what)
  Dim number
  number = Err.Number
  Err.Clear
  Check number <> 0, what
End Sub

Sub ReportCounts()
  WScript.Echo passed & " passed, " & failed & " failed"
End Sub
