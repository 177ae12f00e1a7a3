' Example host: fills the field stores of a small claim file and reads them back, then builds a
' whole claim-file tree and reads its counts and totals, the way the practice-management host
' does before it exports. Run it with scripts/demo.
Option Explicit

Dim header, layout, f, line

' A file header's own value store: the submitter fields, filled by name.
Set header = CreateObject("sendarro7.OutputFields")
For Each f In Array("SubId", "SubType", "SubNo", "SubName", "SubCity", "SubState", "ProcessFromDate")
  header.Add f
Next
header.SetValue "SubId", "S0042"
header.SetValue "SubType", "B"
header.SetValue "SubNo", "7"
header.SetValue "SubName", "Riverside Family Practice"
header.SetValue "SubCity", "Springfield"
header.SetValue "SubState", "IL"
header.SetValue "ProcessFromDate", "3/1/2007"

WScript.Echo "Submitter values (" & header.Count & " fields):"
For Each f In header
  WScript.Echo "  " & f.Name & " = " & f.Value
Next

' A record layout: a literal record type, then the store's values by column.
Set layout = CreateObject("sendarro7.OutputFields")
layout.Add "", 0, 1, 3, "AA0", 0, "", False
layout.Add "SubId", 0, 4, 19, "", 0, "", False
layout.Add "SubType", 0, 20, 20, "", 0, "", False
layout.Add "SubNo", 0, 21, 26, "", 1, "", False
layout.Add "SubName", 0, 27, 59, "", 0, "", False
layout.Add "ProcessFromDate", 0, 60, 67, "", 2, "YYYYMMDD", False
Set header.OutDefns = layout

WScript.Echo "Layout (" & layout.Count & " fields):"
For Each f In layout
  If f.Name = "" Then
    line = "literal """ & f.Value & """"
  Else
    line = f.Name
  End If
  WScript.Echo "  columns " & f.FromCol & "-" & f.ToCol & " (" & f.FieldLength & "): " & line
Next

' What a host sees when it asks for a field the store does not hold.
On Error Resume Next
header.SetValue "ReceiverId", "X"
WScript.Echo "SetValue of a field not held: error " & Err.Number
Err.Clear
On Error GoTo 0

' ---- A whole claim file tree, as the host fills it before it exports -----------------------------
Dim fh, providers, key, batch, claim, svc, policy, b, c, s, p

Set fh = CreateObject("sendarro7.FileHeader")
fh.SubId = "S0042"
fh.SubName = "Riverside Family Practice"
fh.receiverID = "R77"
fh.OutputMode = 0 ' OutputModeNSF

' One batch per billing provider: test for it first, then add it under the provider's key.
providers = Array("P100", "P200", "p100")
For Each key In providers
  If Not fh.Batchs.BRExists(key) Then
    Set batch = fh.Batchs.Add(key)
    batch.ProvTaxId = "TAX-" & UCase(key)
    batch.provPayToName = "Provider " & UCase(key)
  End If
Next

' Claims of the first provider: one with two lines, one with a credit line.
Set batch = fh.Batchs("P100")
Set claim = batch.Claims.Add()
claim.PatControlNo = "PCN-1"
claim.PatLastName = "Smith"
claim.PatFirstName = "Ann"
claim.DiagnosisCode1 = "250.00"
Set policy = claim.InsurancePolicies.Add()
policy.PayorName = "Acme Health"
policy.PatRelToInsured = "18"
Set svc = claim.ServiceLines.Add()
svc.HCPCSProcedureCode = "99213"
svc.LineCharges = CCur("125.50")
svc.PaidAmt = CCur("100")
svc.ApprovedAmt = CCur("110")
Set svc = claim.ServiceLines.Add()
svc.HCPCSProcedureCode = "85025"
svc.LineCharges = CCur("18")
svc.ApprovedAmt = CCur("15.25")

Set claim = batch.Claims.Add()
claim.PatControlNo = "PCN-2"
claim.PatLastName = "Jones"
claim.InsurancePolicies.Add().PayorName = "Blue Plan"
Set svc = claim.ServiceLines.Add()
svc.HCPCSProcedureCode = "99212"
svc.LineCharges = CCur("60")
Set svc = claim.ServiceLines.Add()
svc.HCPCSProcedureCode = "99212"
svc.LineCharges = CCur("-10") ' a credit
svc.PaidAmt = CCur("-10")

' One claim under the second provider.
Set claim = fh.Batchs("P200").Claims.Add()
claim.PatControlNo = "PCN-3"
claim.PatLastName = "Lee"
Set svc = claim.ServiceLines.Add()
svc.HCPCSProcedureCode = "90658"
svc.LineCharges = CCur("24.75")

WScript.Echo "Claim file tree:"
WScript.Echo "  file header " & fh.OutFields("SubId").Value & " to " & fh.OutFields("ReceiverId").Value & _
             ": " & fh.BatchCount & " batches, " & fh.ClaimCount & " claims, " & fh.ServiceLineCount & _
             " lines; charges " & fh.TotalCharges & ", paid " & fh.TotalPaidAmt & ", allowed " & fh.TotalAllowedAmt
For Each b In fh.Batchs
  WScript.Echo "  batch " & b.OutFields("ProvTaxId").Value & ": " & b.ClaimCount & " claims, " & _
               b.ServiceLineCount & " lines; charges " & b.TotalCharges
  For Each c In b.Claims
    WScript.Echo "    claim " & c.PatControlNo & " (" & c.OutFields("PatLastName").Value & "): " & _
                 c.ServiceLineCount & " lines; charges " & c.TotalCharges & ", paid " & c.TotalPaidAmt
    For Each p In c.InsurancePolicies
      WScript.Echo "      payer " & p.OutFields("PayorName").Value
    Next
    For Each s In c.ServiceLines
      WScript.Echo "      line " & s.OutFields("HCPCSProcedureCode").Value & " charges " & _
                   s.OutFields("LineCharges").Value
    Next
  Next
Next
