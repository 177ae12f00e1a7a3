' Example host: the main job. Fills a claim file from the sample data beside this script
' (sample_claims.txt: a fictitious practice with two providers), exports it as an NSF claim file
' and as an 837 interchange through EDIFile.Export, and prints where both are with a summary.
' Run it with scripts/demo, which passes the output folder.
'   cscript export_claims.vbs OUTPUT-FOLDER
Option Explicit

Dim fso, outFolder, dataPath
Set fso = CreateObject("Scripting.FileSystemObject")
outFolder = WScript.Arguments(0)
dataPath = fso.BuildPath(fso.GetParentFolderName(WScript.ScriptFullName), "sample_claims.txt")

' Sets one value on a claim-file object: a value of its field store by name, or one of the typed
' members a host sets directly (the 837 envelope and provider ids, the service line amounts).
Sub Assign(obj, kind, name, value)
  Select Case kind & "." & name
    Case "header.intrchgSndrIDType": obj.intrchgSndrIDType = value
    Case "header.intrchgSndrID": obj.intrchgSndrID = value
    Case "header.intrchgRcvrIDType": obj.intrchgRcvrIDType = value
    Case "header.EDIContactName": obj.EDIContactName = value
    Case "header.EDIContactType": obj.EDIContactType = value
    Case "header.EDIContactNum": obj.EDIContactNum = value
    Case "header.receiverName": obj.receiverName = value
    Case "header.receiverNum": obj.receiverNum = value
    Case "provider.EDINumber": obj.EDINumber = value
    Case "provider.provPayToName": obj.provPayToName = value
    Case "provider.provPayToIDType": obj.provPayToIDType = value
    Case "provider.provPayToID": obj.provPayToID = value
    Case "provider.prov837PrimIDType": obj.prov837PrimIDType = value
    Case "provider.prov837PrimID": obj.prov837PrimID = value
    Case "policy.subcriberCFI": obj.subcriberCFI = value
    Case "line.LineCharges": obj.LineCharges = CCur(value)
    Case "line.PaidAmt": obj.PaidAmt = CCur(value)
    Case "line.ApprovedAmt": obj.ApprovedAmt = CCur(value)
    Case Else: obj.OutFields.SetValue name, Replace(value, "\n", vbCrLf)
  End Select
End Sub

' ---- the claim file, from the sample data ------------------------------------------------------
Dim edi, header, batch, claim, target, data, record, kind, pairs, pair, cut, name, value
Set edi = CreateObject("sendarro7.EDIFile")
Set header = edi.FileHeader("Riverside")
Set data = fso.OpenTextFile(dataPath, 1)
Do Until data.AtEndOfStream
  record = Trim(data.ReadLine)
  If record <> "" And Left(record, 1) <> "#" Then
    cut = InStr(record, ":")
    kind = Trim(Left(record, cut - 1))
    pairs = Split(Mid(record, cut + 1), ";")
    Set target = Nothing
    Select Case kind
      Case "header": Set target = header
      Case "claim": Set claim = batch.Claims.Add(): Set target = claim
      Case "policy": Set target = claim.InsurancePolicies.Add()
      Case "line": Set target = claim.ServiceLines.Add()
    End Select
    For Each pair In pairs
      cut = InStr(pair, "=")
      name = Trim(Left(pair, cut - 1))
      value = Trim(Mid(pair, cut + 1))
      If kind = "provider" And name = "key" Then
        ' One batch per billing provider: the host asks for it first, then adds it.
        If Not header.Batchs.BRExists(value) Then Set batch = header.Batchs.Add(value)
        Set target = batch
      Else
        Assign target, kind, name, value
      End If
    Next
  End If
Loop
data.Close

' ---- the two exports ---------------------------------------------------------------------------
Dim nsfPath, x837Path, logPath, nsfOk, x837Ok
nsfPath = fso.BuildPath(outFolder, "claims.nsf")
x837Path = fso.BuildPath(outFolder, "claims.837")
logPath = fso.BuildPath(outFolder, "claims.LOG")
If fso.FileExists(logPath) Then fso.DeleteFile logPath

header.OutputMode = 0 ' OutputModeNSF
edi.OutputFileName = nsfPath
edi.Export
nsfOk = edi.valid837

header.OutputMode = 2 ' OutputMode837
edi.OutputFileName = x837Path
edi.Export
x837Ok = edi.valid837

' ---- where and what -----------------------------------------------------------------------------
Dim b, c, lines, log
lines = 0
For Each b In header.Batchs
  For Each c In b.Claims
    lines = lines + c.ServiceLines.Count
  Next
Next
WScript.Echo "NSF claim file:    " & nsfPath & " (" & fso.GetFile(nsfPath).Size & " bytes, export " & _
             IIf(nsfOk, "completed", "failed") & ")"
WScript.Echo "837 interchange:   " & x837Path & " (" & fso.GetFile(x837Path).Size & " bytes, valid837 " & x837Ok & ")"
WScript.Echo "file headers:      " & edi.Count
WScript.Echo "batches:           " & header.BatchCount
WScript.Echo "claims:            " & header.ClaimCount
WScript.Echo "service lines:     " & header.ServiceLineCount & " (" & lines & " counted)"
WScript.Echo "total charges:     " & FormatNumber(header.TotalCharges, 2)
WScript.Echo "paid, allowed:     " & FormatNumber(header.TotalPaidAmt, 2) & ", " & FormatNumber(header.TotalAllowedAmt, 2)
If fso.FileExists(logPath) Then
  log = fso.OpenTextFile(logPath, 1).ReadAll()
  WScript.Echo "837 error log " & logPath & ":"
  WScript.Echo log
Else
  WScript.Echo "837 error log:     none (nothing was missing)"
End If

Function IIf(test, yes, no)
  If test Then IIf = yes Else IIf = no
End Function
