' A late-bound host posting payments through fennick98 and the registered HTTP component to the
' gateway double (the harness sends the component through the double's tunnel). Argument 0: the
' double's folder, whose records tell what the gateway received; each is deleted once read.
Dim post, fso, folder, s, expiration, trans, holder
Set fso = CreateObject("Scripting.FileSystemObject")
folder = WScript.Arguments(0)
Set post = CreateObject("fennick98.PostTransaction")

' The body the gateway received last for a merchant; the record is deleted.
Function Received(merchant)
  Dim path, stream, line
  Received = ""
  path = folder & "\records\" & merchant
  If Not fso.FileExists(path) Then Exit Function
  Set stream = fso.OpenTextFile(path)
  Do While Not stream.AtEndOfStream
    line = stream.ReadLine
    If Left(line, 6) = "body: " Then Received = Mid(line, 7)
  Loop
  stream.Close
  fso.DeleteFile path
End Function

' An approval read into the status object.
Set s = post.VoidBankCardDebit("VbsVoid", "K200", "555")
Check s.Status = "approved", "void: Status " & s.Status
Check s.Message = "ok", "void: Message"
Check s.TransID = 4711, "void: TransID"
Check s.Amount = 12.5, "void: Amount"
Check s.PostedDate = "03/10/2006 14:05:09", "void: PostedDate"
Check Received("VbsVoid") = "MerchantID=VbsVoid&RegKey=K200&TransID=555", "void: body"

' Expiration comes back trimmed into the host's variable; a name with code page 1252 letters and
' an ampersand goes out encoded.
expiration = " 1225 "
holder = "M" & Chr(252) & "ller & Co"
Set s = post.BankCardDebit("VbsDebit", "K200", "12.50", "4111111111111111", holder, expiration, "R7", "Main", "84101", "123")
Check expiration = "1225", "debit: Expiration written back: '" & expiration & "'"
Check s.AuthCode = "A11", "debit: AuthCode"
Check InStr(Received("VbsDebit"), "&CardHolderName=M%C3%BCller+%26+Co&Expiration=1225&") > 0, "debit: encoded name"

' A TransID that is not numeric comes back "0"; UserID left out is "0".
trans = "abc"
Set s = post.BankCardBlindCredit("VbsBlind", "K200", trans, "12.50", "4111111111111111", "Ann", "1225", "123", "R7", "Main", "84101")
Check trans = "0", "blind credit: TransID written back"
Check s.CreditID = 815, "blind credit: CreditID"
Check Right(Received("VbsBlind"), 9) = "&UserID=0", "blind credit: UserID default"

' The batch: closed with a TransID and the rest left out, released with none.
Set s = post.BankCardCloseBatch("VbsClose", "K200", "555")
Check Received("VbsClose") = "MerchantID=VbsClose&RegKey=K200&TransID=555&Amount=&ForceSettlement=0&CreditID=0", "close: body"
Set s = post.BankCardCloseBatch("VbsRelease", "K200")
Check Received("VbsRelease") = "MerchantID=VbsRelease&RegKey=K200", "release: body"
Check s.Status = "approved", "release: Status"

' The ACH kinds by their enum values.
Set s = post.ACHDebit("VbsACH", "K200", "12.50", "9876", 1, "Ann", "124000054", "R7", "Main", "84101", "20060310", 2, "Rent")
Check s.Success = 1, "ACH debit: Success"
Check InStr(Received("VbsACH"), "&BankAccountType=Checking&") > 0, "ACH debit: account type"

' A failing validator: ignored, nothing sent.
Set s = post.BankCardCredit("VbsInvalid", "K200", "ten", "555", "R7")
Check s.Status = "ignored", "invalid amount: Status"
Check s.Message = "invalid amount", "invalid amount: Message"
Check Not fso.FileExists(folder & "\records\VbsInvalid"), "invalid amount: nothing sent"

' A host's own status object.
Set s = CreateObject("fennick98.BankCardSettleStatus")
s.CreateStatus 12.3456, "A", "B", "2006-03-10T14:05:09", "R", "S", "", 7, "M"
Check s.Amount = 12.3456, "CreateStatus: Amount"
Check s.PostedDate = "03/10/2006 14:05:09", "CreateStatus: PostedDate"
Check s.SettledDate = "// ", "CreateStatus: SettledDate"
s.Status = "changed"
Check s.Status = "changed", "Status let"

ReportCounts
