' The claim export as a late-bound host drives it: EDIFile by ProgID, a claim tree filled through
' it, an NSF export over an older file of that name read back record by record, an 837 export,
' and failed exports (two NSF, two without a component) answered by box_watcher.exe (beside the registered library), which
' records each message box and presses OK.
' (Check, CheckError and ReportCounts come from checks.vbs.)

Dim sh, fso, folder, work, watcherLog, stopFile
Set sh = CreateObject("WScript.Shell")
Set fso = CreateObject("Scripting.FileSystemObject")
folder = fso.GetParentFolderName(sh.RegRead("HKCR\CLSID\{162D2A90-FBEA-440B-9D29-FF93AF881154}\InprocServer32\"))
work = fso.BuildPath(fso.GetSpecialFolder(2), "claim_export_" & fso.GetTempName())
fso.CreateFolder work

Function ReadFile(path)
  ReadFile = ""
  If fso.FileExists(path) Then
    If fso.GetFile(path).Size > 0 Then ReadFile = fso.OpenTextFile(path, 1).ReadAll()
  End If
End Function

Sub WriteFile(path, text)
  fso.CreateTextFile(path, True).Write text
End Sub

' The names in the work folder, joined by ",".
Function Listing()
  Dim f
  Listing = ""
  For Each f In fso.GetFolder(work).Files
    Listing = Listing & f.Name & ","
  Next
End Function

' ---- a claim file as the host fills it -----------------------------------------------------------
Dim edi, header, batch, claim, policy, line
Set edi = CreateObject("sendarro7.EDIFile")
Check Not edi.valid837, "valid837 is False before any export"
Set header = edi.FileHeader("Main")
Check edi.FileHeader("MAIN") Is header And edi.Count = 1, "FileHeader gets or creates, ignoring case"
Check edi.BRExists("main") And Not edi.BRExists("other"), "BRExists"
header.SubId = "SUBID"
header.SubType = "RCV99"
header.SubNo = "42"
header.SubName = "Acme Billing"
header.receiverID = "R99"
header.TestProdInd = "T"
header.intrchgSndrIDType = "ZZ"
header.intrchgRcvrIDType = "ZZ"
header.intrchgSndrID = "SENDER1"
header.EDIContactName = "Jane Roe"
header.EDIContactType = "TE"
header.EDIContactNum = "2125551234"
header.receiverName = "Big Payer"
header.receiverNum = "R99"

Set batch = header.Batchs.Add("P1")
batch.EMCProvId = "EMC1"
batch.BatchType = "100"
batch.BatchNo = "7"
batch.ProvLastName = "Smith"
batch.ProvFirstName = "John"
batch.ProvSpeciality = "207Q00000X"
batch.ProvPAYTOAddr1 = "1 Main St"
batch.ProvPAYTOCity = "Springfield"
batch.ProvPAYTOState = "IL"
batch.ProvPAYTOZip = "62701-1234"
batch.EDINumber = "E123"
batch.provPayToName = "Smith Clinic"
batch.provPayToIDType = "XX"
batch.provPayToID = "1234567893"
batch.prov837PrimIDType = "24"
batch.prov837PrimID = "998877665"

Set claim = batch.Claims.Add()
claim.PatControlNo = "PCN1"
claim.PatLastName = "Doe"
claim.PatFirstName = "Jane"
claim.PatDateOfBirth = "4/2/1970"
claim.PatSex = "F"
claim.DiagnosisCode1 = "7840"
claim.AccidentInd = "N"
claim.ExtraNarrative = "Seen twice"
Set policy = claim.InsurancePolicies.Add()
policy.ClaimFilingInd = "CI"
policy.subcriberCFI = "CI"
policy.PayorName = "Payer One"
policy.NationalPayerId = "SX109"
policy.PatRelToInsured = "18"
policy.InsuredIdNo = "XYZ1"
policy.InsuredLastName = "Doe"
policy.InsuredFirstName = "Jane"
policy.InsuredDateOfBirth = "4/2/1970"
policy.InsuredSex = "F"
policy.InsuredAddr1 = "2 Elm St"
policy.InsuredCity = "Provo"
policy.InsuredState = "UT"
policy.InsuredZip = "84601"
policy.PayorAddr1 = "PO Box 9"
policy.PayorCity = "Salt Lake City"
policy.PayorState = "UT"
policy.PayorZip = "84101"
Set line = claim.ServiceLines.Add()
line.SvcFromDate = "3/1/2007"
line.SvcToDate = "3/1/2007"
line.PlaceOfSvc = "11"
line.HCPCSProcedureCode = "99213"
line.UnitsOfSvc = "1"
line.DiagCodePointer1 = "1"
line.LineCharges = CCur("125.50")
line.PaidAmt = CCur("100")

' ---- NSF over an older file of that name -----------------------------------------------------
Dim nsfPath, text, records, r, ids
nsfPath = fso.BuildPath(work, "claims.nsf")
WriteFile nsfPath, "AN OLDER FILE" & vbCrLf
edi.OutputFileName = nsfPath
Check edi.OutputFileName = nsfPath, "OutputFileName reads back"
edi.Export
Check edi.valid837, "an NSF export leaves valid837 True"
text = ReadFile(nsfPath)
Check Right(text, 2) = vbCrLf, "the file ends with CR LF"
records = Split(Left(text, Len(text) - 2), vbCrLf)
ids = ""
For Each r In records
  Check Len(r) = 320, "a record of 320 columns: " & Left(r, 3) & " has " & Len(r)
  ids = ids & Left(r, 3) & " "
Next
Check ids = "AA0 BA0 BA1 CA0 DA0 DA1 DA2 EA0 EA1 FA0 HA0 XA0 YA0 ZA0 ", "record order: " & ids
Check Mid(records(0), 4, 16) = "SUBID           " And Mid(records(0), 35, 6) = "000042", "AA0 submitter"
Check Mid(records(3), 6, 17) = "PCN1             " And Mid(records(3), 59, 8) = "19700402", "CA0 control number and birth date"
Check Mid(records(9), 71, 7) = "0012550" And Mid(records(9), 82, 4) = "0010", "FA0 charges and units"
Check Mid(records(10), 40, 10) = "Seen twice", "HA0 narrative"
Check Mid(records(11), 23, 15) = "010302010001001", "XA0 counts, the HA0 in 33-34"
Check Mid(records(12), 54, 7) = "0000012" And Mid(records(12), 68, 9) = "000012550", "YA0 records and charges"
Check Mid(records(13), 52, 7) = "0000012" And Mid(records(13), 81, 11) = "00000010000", "ZA0 records and paid"
Check Listing() = "claims.nsf,", "nothing beside the file: " & Listing()
' The last layouts stay attached, for the host to read.
Check header.OutFields.OutDefns.Item(1).Value = "ZA0" And header.OutFields.OutDefns.Count = 9, "ZA0's layout kept"
Check claim.OutFields.OutDefns("PatControlNo").FromCol = 6, "XA0's layout kept"

' ---- 837 --------------------------------------------------------------------------------------
Dim x837Path
x837Path = fso.BuildPath(work, "claims.837")
header.OutputMode = 2
edi.OutputFileName = x837Path
edi.Export
Check edi.valid837, "a complete 837 export: valid837 True (log: " & ReadFile(fso.BuildPath(work, "claims.LOG")) & ")"
Check Left(ReadFile(x837Path), 4) = "ISA*", "the interchange is saved"
Check edi.oEdiDoc Is Nothing, "the document is released"
Check Not edi.ediDocStillProcessing, "the document's save has completed"

' ---- failed exports, each answered by the watcher ---------------------------------------------
watcherLog = fso.BuildPath(work, "boxes.txt")
stopFile = fso.BuildPath(work, "stop.txt")
sh.Run """" & fso.BuildPath(folder, "box_watcher.exe") & """ """ & watcherLog & """ """ & stopFile & """", 0, False

Dim boxes, before
header.OutputMode = 0
edi.OutputFileName = fso.BuildPath(work, "missing\claims.nsf")
edi.Export
Check Not edi.valid837, "a failed export: valid837 False"
Check Not fso.FolderExists(fso.BuildPath(work, "missing")), "the missing folder is not made"
boxes = Split(ReadFile(watcherLog), vbCrLf)
Check UBound(boxes) = 1, "one box for the missing folder: " & ReadFile(watcherLog)
' The position is the one the 837 writer left on this thread: its last step, the save.
Check boxes(0) = "Error Creating File|Error found in SAVE - 76, Path not found (file " & edi.OutputFileName & ")", "the box: " & boxes(0)

before = Listing()
batch.BatchNo = "12345"
edi.OutputFileName = nsfPath
edi.Export
Check Not edi.valid837, "an overlong BatchNo: valid837 False"
boxes = Split(ReadFile(watcherLog), vbCrLf)
Check UBound(boxes) = 2, "one more box: " & ReadFile(watcherLog)
If UBound(boxes) >= 2 Then
  Check boxes(1) = "Error Creating File|Error found in SAVE - 5, Invalid procedure call or argument (record BA0, field BatchNo ""12345"")", "the box: " & boxes(1)
End If
Check Left(ReadFile(nsfPath), 3) = "AA0" And InStr(ReadFile(nsfPath), "ZA0") > 0, "the earlier export's file is whole"
Check Listing() = before, "no file left behind: " & Listing()

' A component that is not registered: the EDI document, then gorsewick's VistaInfo (the 837
' writer asks it for the folders). Each is unregistered for one export and registered again.
Dim component, dll, shown
batch.BatchNo = "7"
header.OutputMode = 2
edi.OutputFileName = x837Path
shown = 2
For Each component In Array("{10038AC2-5972-4783-8124-8A658BFAFA0F}", "{382D3682-2FF8-46AF-8FA2-B0B972092DD1}")
  dll = sh.RegRead("HKCR\CLSID\" & component & "\InprocServer32\")
  sh.Run "regsvr32 /u /s """ & dll & """", 0, True
  edi.Export
  sh.Run "regsvr32 /s """ & dll & """", 0, True
  Check Not edi.valid837, "without " & component & ": valid837 False"
  boxes = Split(ReadFile(watcherLog), vbCrLf)
  shown = shown + 1
  Check UBound(boxes) = shown, "one box without " & component & ": " & ReadFile(watcherLog)
  If UBound(boxes) >= shown Then
    Check InStr(boxes(shown - 1), " - 429, ActiveX component can't create object") > 0, "429 and its text: " & boxes(shown - 1)
  End If
Next
edi.Export
Check edi.valid837, "registered again, the 837 export goes through"

' The watcher deletes the stop file as it ends; then the folder can go. (Wine's script host has
' no WScript.Sleep: the wait asks the file system, for at most thirty seconds: ten were seen to
' run out under an emulated processor with every core busy.)
Dim started
WriteFile stopFile, ""
started = Timer
Do While fso.FileExists(stopFile) And Abs(Timer - started) < 30
Loop
Check Not fso.FileExists(stopFile), "the watcher has ended"
fso.DeleteFolder work, True
ReportCounts
