' The relocation as a late-bound host runs it without the progress window: it prepares the
' product's files, creates gorsewick.ManageFiles, sets the product to TM (3), moves, and checks
' the status, the files at their new places and the saved log.
' (Check, CheckError and ReportCounts come from checks.vbs.)

Dim sh, fso
Set sh = CreateObject("WScript.Shell")
Set fso = CreateObject("Scripting.FileSystemObject")

' Wine's script host may leave a NUL at the end of an expanded variable: it is cut off here, so
' that no path is cut short at it.
Function Env(name)
  Env = Replace(sh.ExpandEnvironmentStrings("%" & name & "%"), Chr(0), "")
End Function

Dim program, windows, temp
program = Env("ProgramFiles") & "\Tallowmere"
windows = fso.GetSpecialFolder(0).Path
temp = fso.GetSpecialFolder(2).Path

Sub WriteText(path, text)
  Dim f
  Set f = fso.CreateTextFile(path, True)
  f.Write text
  f.Close
End Sub

Function ReadText(path)
  ReadText = ""
  If fso.FileExists(path) Then
    Dim f
    Set f = fso.OpenTextFile(path)
    If Not f.AtEndOfStream Then ReadText = f.ReadAll
    f.Close
  End If
End Function

' Removes one of the product's own folders, and nothing else.
Sub RemoveProductFolder(path)
  If Right(path, 11) = "\Tallowmere" And fso.FolderExists(path) Then fso.DeleteFolder path, True
End Sub

Dim mover, hidden, publicData
Set mover = CreateObject("gorsewick.ManageFiles")
mover.showProgressDialog = False
mover.appName.appName = 3
hidden = mover.fileLocs.hiddenDataPath()
publicData = mover.fileLocs.publicDataPath()

' Clean folders, then the product's files at their old places.
RemoveProductFolder program
RemoveProductFolder hidden
RemoveProductFolder publicData
If fso.FileExists(windows & "\tm3.ini") Then fso.DeleteFile windows & "\tm3.ini", True
fso.CreateFolder program
fso.CreateFolder program & "\Data"
WriteText windows & "\tm3.ini", "[837Settings]" & vbCrLf
WriteText program & "\tm3.lf", "lf"
WriteText program & "\main.mdb", "database"
WriteText program & "\Data\patients.dat", "patients"

Check mover.moveStatus() = 0, "a product never moved: notStarted"
Check mover.moveProtectedFiles(program, windows, "tm3.ini") = True, "the move succeeds"
Check mover.moveStatus() = 7, "completed: " & mover.moveStatus()
Check ReadText(hidden & "\tm3.ini") = "[837Settings]" & vbCrLf, "tm3.ini in the hidden data folder"
Check ReadText(hidden & "\tm3.lf") = "lf", "tm3.lf in the hidden data folder"
Check ReadText(publicData & "\main.mdb") = "database", "main.mdb in the public data folder"
Check ReadText(publicData & "\Data\patients.dat") = "patients", "Data in the public data folder"
Check Not fso.FileExists(windows & "\tm3.ini"), "tm3.ini gone from the Windows folder"
Check Not fso.FolderExists(program & "\Data"), "Data gone from the program folder"
Check InStr(ReadText(hidden & "\Status.ini"), "MoveProtected=7") > 0, "Status.ini says 7"

' The log, kept without a window, saved where the host says.
Dim logFile, logText
logFile = temp & "\relocation-log.txt"
Check mover.saveMoveLog(logFile) = True, "saveMoveLog without a window"
logText = ReadText(logFile)
Check InStr(logText, " -- Move completed successfully. Press Exit." & vbCrLf) = InStr(logText, " -- "), _
      "the newest line comes first: " & Left(logText, 80)
Check InStr(logText, " -- Moving INI file" & vbCrLf) > 0, "the log names the items"
Check mover.saveMoveLog(temp & "\no such folder\log.txt") = False, "a log that cannot be written"

' A second mover finds the move done.
Dim again
Set again = CreateObject("gorsewick.ManageFiles")
again.showProgressDialog = False
again.appName.appName = 3
Check again.moveStatus() = 7, "a new mover reads completed"
Check again.moveProtectedFiles(program, windows, "") = True, "a completed move stays completed"

fso.DeleteFile logFile
RemoveProductFolder program
RemoveProductFolder hidden
RemoveProductFolder publicData
ReportCounts
