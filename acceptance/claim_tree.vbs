' A whole claim tree as a late-bound host builds it: a file header by ProgID, batches by provider
' key, claims, service lines and insurance policies; values through the write-only properties and
' the public members; counts and totals; For Each over every collection; and the failures.
' (Check, CheckError and ReportCounts come from checks.vbs.)

' Adds a service line with its charge, paid and approved amounts ("" leaves one unset).
Function AddLine(claim, charges, paid, approved)
  Dim line
  Set line = claim.ServiceLines.Add()
  If charges <> "" Then line.LineCharges = CCur(charges)
  If paid <> "" Then line.PaidAmt = CCur(paid)
  If approved <> "" Then line.ApprovedAmt = CCur(approved)
  Set AddLine = line
End Function

Dim header, batch, batch2, claim, claim2, line, policy, item, names, n, total

' ---- the file header ---------------------------------------------------------------------------
Set header = CreateObject("sendarro7.FileHeader")
Check header.OutFields.Count = 28, "a header has 28 fields"
Check header.BatchCount = 0 And header.ClaimCount = 0 And header.ServiceLineCount = 0, "a new header counts 0"
Check header.TotalCharges = 0 And TypeName(header.TotalCharges) = "Currency", "totals are Currency, 0"
Check header.OutputMode = 0, "OutputMode starts as OutputModeNSF"
header.OutputMode = 2
Check header.OutputMode = 2, "OutputMode takes OutputMode837"
header.SubId = "S0042"
header.SubName = "Riverside Family Practice"
header.receiverID = "R77"
header.EDIContactName = "Pat Doe"
header.ISA01 = "00"
Check header.OutFields("SubId").Value = "S0042", "SubId stored"
Check header.OutFields("ReceiverId").Value = "R77", "receiverID stores under ReceiverId"
Check header.EDIContactName = "Pat Doe" And header.ISA01 = "00", "typed members"
names = ""
For Each item In header.OutFields
  If item.Value <> "" Then names = names & item.Name & ","
Next
Check names = "SubId,SubName,ReceiverId,", "store order: " & names

' ---- batches by provider key -------------------------------------------------------------------
Check Not header.Batchs.BRExists("P1"), "BRExists of a key not added"
Set batch = header.Batchs.Add("P1")
Check header.Batchs.BRExists("p1"), "BRExists ignores case"
Check header.Batchs("p1") Is batch, "Item by key"
batch.ProvTaxId = "12-3456789"
batch.ProvSpeciality = "Family"
batch.provPayToName = "Riverside"
batch.usingBillingService = True
batch.prov837SameAsPayTo = 1
Check batch.OutFields.Item("provtaxid").Value = "12-3456789", "a batch's field"
Check batch.usingBillingService And batch.prov837SameAsPayTo = 1, "a batch's typed members"
Set batch2 = header.Batchs.Add("P2")
batch2.EMCProvId = "E2"

' ---- claims, lines and policies ----------------------------------------------------------------
Set claim = batch.Claims.Add()
claim.PatControlNo = "PCN-1"
claim.PatLastName = "Smith"
claim.PatFirstName = "Ann"
claim.ReferProvEntityType = "1"
claim.fileAsGroup = True
claim.payerPaidAmount = 12.5
Check claim.PatControlNo = "PCN-1", "PatControlNo has a get"
Check claim.OutFields(52).Value = "1", "ReferProvEntityType is the 52nd field"
Check claim.fileAsGroup And claim.payerPaidAmount = 12.5, "a claim's typed members"
AddLine claim, "12.50", "10", "11"
Set line = AddLine(claim, "7.25", "", "6.5")
line.HCPCSProcedureCode = "99213"
line.EPSDTInd = "N"
Check line.OutFields("LineCharges").Value = "7.25", "an amount is stored as text"
Check line.LineCharges = CCur("7.25") And TypeName(line.LineCharges) = "Currency", "an amount reads back"
Check line.PaidAmt = 0, "an unset amount reads 0"
Check line.OutFields("HCPCSProcedureCode").Value = "99213" And line.EPSDTInd = "N", "a line's values"
Set policy = claim.InsurancePolicies.Add()
policy.PayorName = "Acme Health"
policy.PatRelToInsured = "18"
policy.ApprovedAmt = "12.50"
policy.subcriberCFI = "CI"
Check policy.OutFields("payorname").Value = "Acme Health", "a policy's field"
Check policy.OutFields("ApprovedAmt").Value = "12.50", "a policy's amounts are text, unchanged"
Check policy.insrSecProvIDs Is Nothing, "insrSecProvIDs starts as Nothing"
claim.InsurancePolicies.Add().PayorName = "Second Payer"

Set claim2 = batch.Claims.Add()
claim2.PatLastName = "Jones"
AddLine claim2, "100", "50", "90"
AddLine claim2, "-3.25", "-3.25", ""
batch2.Claims.Add()
AddLine batch2.Claims.Add(), "0.0001", "", ""

' ---- counts and totals -------------------------------------------------------------------------
Check claim.ServiceLineCount = 2 And claim.TotalCharges = CCur("19.75"), "claim 1: 2 lines, 19.75"
Check claim.TotalPaidAmt = 10 And claim.TotalAllowedAmt = CCur("17.5"), "claim 1 paid and allowed"
Check claim2.TotalCharges = CCur("96.75"), "a negative amount takes its part: " & claim2.TotalCharges
Check line.PaidAmt = 0 And claim2.ServiceLines(2).LineCharges = CCur("-3.25"), "a negative amount reads back"
Check batch.ClaimCount = 2 And batch.ServiceLineCount = 4, "batch P1 counts"
Check batch.TotalCharges = CCur("116.5"), "batch P1 charges: " & batch.TotalCharges
Check batch2.ClaimCount = 2 And batch2.ServiceLineCount = 1, "batch P2 counts"
Check header.BatchCount = 2 And header.ClaimCount = 4 And header.ServiceLineCount = 5, "header counts"
Check header.TotalCharges = CCur("116.5001"), "header charges: " & header.TotalCharges
Check header.TotalPaidAmt = CCur("56.75"), "header paid: " & header.TotalPaidAmt
Check header.TotalAllowedAmt = CCur("107.5"), "header allowed: " & header.TotalAllowedAmt

' A change below a batch shows in the next read.
AddLine batch2.Claims(1), "5", "", ""
Check header.ServiceLineCount = 6 And header.TotalCharges = CCur("121.5001"), "a line added below P2"
claim.ServiceLines(1).OutFields("LineCharges").Value = "2.5"
Check header.TotalCharges = CCur("111.5001"), "a stored amount changed: " & header.TotalCharges
batch.Claims.Remove 2
Check header.ClaimCount = 3 And header.TotalCharges = CCur("14.7501"), "a claim removed: " & header.TotalCharges

' ---- For Each over every collection, in the order added ----------------------------------------
names = ""
For Each item In header.Batchs
  names = names & item.ClaimCount & ","
Next
Check names = "1,2,", "For Each over Batchs: " & names
n = 0
For Each item In batch2.Claims
  n = n + item.ServiceLineCount
Next
Check n = 2, "For Each over Claims"
total = CCur(0)
For Each item In claim.ServiceLines
  total = total + item.LineCharges
Next
Check total = claim.TotalCharges, "For Each over ServiceLines: " & total
names = ""
For Each item In claim.InsurancePolicies
  names = names & item.OutFields("PayorName").Value & ";"
Next
Check names = "Acme Health;Second Payer;", "For Each over InsurancePolicies: " & names

' The Collection members: filled by the host, read in pairs.
claim.prov837SecIDCol.Add "A123"
claim.prov837SecIDTypeCol.Add "1G"
claim.prov837SecIDCol.Add "B456", "second"
claim.prov837SecIDTypeCol.Add "EI"
names = ""
For Each item In claim.prov837SecIDCol
  names = names & item & ","
Next
Check names = "A123,B456,", "For Each over a Collection member: " & names
Check claim.prov837SecIDCol("SECOND") = "B456" And claim.prov837SecIDTypeCol(2) = "EI", "Collection items"
Set policy.insrSecProvIDs = batch.prov837SecIDCol
batch.prov837SecIDCol.Add "1G|A123"
Check policy.insrSecProvIDs.Count = 1 And policy.insrSecProvIDs(1) = "1G|A123", "the host's own collection"

' ---- failures -----------------------------------------------------------------------------------
Check Not header.Batchs.BRExists("P9"), "BRExists of a missing key"
On Error Resume Next
header.Batchs.Add "p1"
CheckError 457, "Add of a provider key already held"
On Error GoTo 0
Check header.BatchCount = 2, "nothing added on a duplicate key"
On Error Resume Next
Set item = batch.Claims(0)
CheckError 9, "Claims(0)"
Set item = batch.Claims(batch.Claims.Count + 1)
CheckError 9, "Claims(Count + 1)"
Set item = batch.Claims("x")
CheckError 5, "Claims with a text"
Set item = header.Batchs("P9")
CheckError 5, "Batchs with a missing key"
claim.prov837SecIDCol.Add "C", "second"
CheckError 457, "a Collection member's duplicate key"
On Error GoTo 0

Set line = claim.ServiceLines.Add()
line.OutFields("PaidAmt").Value = "abc"
On Error Resume Next
n = line.PaidAmt
CheckError 13, "an amount that does not read"
total = header.TotalPaidAmt
CheckError 13, "... fails the header's total"
On Error GoTo 0
claim.ServiceLines.Remove claim.ServiceLines.Count

AddLine batch2.Claims(1), "500000000000000", "", ""
AddLine batch2.Claims(2), "500000000000000", "", ""
Check batch2.Claims(1).TotalCharges = CCur("500000000000005"), "each claim reads"
On Error Resume Next
total = batch2.TotalCharges
CheckError 6, "a batch total beyond the Currency range"
total = header.TotalCharges
CheckError 6, "... fails the header's total"
On Error GoTo 0
Check header.ClaimCount = 3, "the counts still read"

Set claim.ServiceLines = Nothing
On Error Resume Next
n = claim.ServiceLineCount
CheckError 91, "ServiceLines set to Nothing"
On Error GoTo 0
Set header.Batchs = Nothing
On Error Resume Next
n = header.BatchCount
CheckError 91, "Batchs set to Nothing"
Set claim.OutFields = batch
CheckRaised "a store set to an object of another class is refused"
On Error GoTo 0
Check claim.OutFields.Count = 94, "... and the claim keeps its store"
Set claim.OutFields = Nothing
On Error Resume Next
claim.PatLastName = "x"
CheckError 91, "a property of an object without a store"
On Error GoTo 0
batch.OutFields.Remove "ProvTaxId"
On Error Resume Next
batch.ProvTaxId = "x"
CheckError -2147221503, "a property whose field was removed"
On Error GoTo 0

' ---- the classes and the collections are creatable by themselves --------------------------------
For Each n In Array("Batch", "Claim", "ServiceLine", "InsurancePolicy", "Batchs", "Claims", "ServiceLines", _
                    "InsurancePolicies")
  Set item = CreateObject("sendarro7." & n)
  Check IsObject(item), "CreateObject sendarro7." & n
Next
Check CreateObject("sendarro7.InsurancePolicy").OutFields.Count = 76, "a policy has 76 fields"
Check CreateObject("sendarro7.ServiceLine").OutFields.Count = 63, "a line has 63 fields"
Check CreateObject("sendarro7.Claim").OutFields.Count = 94, "a claim has 94 fields"
Check CreateObject("sendarro7.Batch").OutFields.Count = 37, "a batch has 37 fields"

ReportCounts
