' The EDI document stand-in as a late-bound host drives it: by ProgID, with the guide file from
' the folder of the registered claim-file library, building, saving and reading back a small
' interchange, and the errors a host sees.
' (Check, CheckError and ReportCounts come from checks.vbs.)

Dim sh, fso, libPath, folder, outPath
Set sh = CreateObject("WScript.Shell")
Set fso = CreateObject("Scripting.FileSystemObject")
libPath = sh.RegRead("HKCR\CLSID\{162D2A90-FBEA-440B-9D29-FF93AF881154}\InprocServer32\")
folder = fso.GetParentFolderName(libPath)
outPath = fso.BuildPath(fso.GetSpecialFolder(2), "edidoc_vbs_" & fso.GetTempName() & ".837")

Dim doc, guide, ic, grp, ts, seg
Set doc = CreateObject("edidoc.Document")
doc.Option29 = 2
Check doc.Option29 = 2, "option 29 reads back"
Set guide = doc.LoadGuide(fso.BuildPath(folder, "837_4010.SEF"), 0)
Check guide.TransactionSetId = "837", "the guide is the 837 guide: " & guide.TransactionSetId
doc.SegmentTerminator = "~"
doc.ElementSeparator = "*"
doc.CompositeSeparator = ":"
Set ic = doc.CreateInterchange("X", "004010A1")
Set grp = ic.CreateGroup("004010X098A1")
Set ts = grp.CreateTransactionSet("837")

Dim isaValues, i
isaValues = Array("00", "", "00", "", "ZZ", "SENDER", "ZZ", " 431420764", "070301", "1000", "U", "00401", "11427", "0", "P", ":")
Set seg = ic.Header
For i = 0 To 15
  If isaValues(i) <> "" Then seg.ElementValue(i + 1) = isaValues(i)
Next
Check seg.ElementValue(6) = "SENDER", "ISA06 reads back unpadded: [" & seg.ElementValue(6) & "]"
Check seg.ElementValue(8) = " 431420764", "ISA08 keeps its blank: [" & seg.ElementValue(8) & "]"
Check seg.ElementValue(2) = "", "unset ISA02 reads empty"

Set seg = grp.Header
seg.ElementValue(1) = "HC"
seg.ElementValue(6) = "000042"
ts.Header.ElementValue(2) = "000042"
Set seg = ts.SegmentByPath("HL\CLM\HI")
seg.ElementValue(1, 1) = "BK"
seg.ElementValue(1, 2) = "7840"
seg.ElementValue(3, 1) = "BF"
seg.ElementValue(3, 2) = "4011"
Check seg.ElementValue(1, 2) = "7840", "a component reads back"
ts.SegmentByPath("HL\HL").ElementValue(1) = "1"
ts.SegmentByPath("BHT").ElementValue(1) = "0019"
Dim e
e = 2
ts.SegmentByPath("NM1\NM1").ElementValue(e) = "2"
ts.SegmentByPath("NM1\NM1").ElementValue(1) = "41"

On Error Resume Next
ts.SegmentByPath("NM1\NM1").ElementValue(3) = "A*B"
CheckError 12378, "a value holding the element separator"
seg.ElementValue(2, 2) = "40:11"
CheckError 12378, "a component holding the composite separator"
ic.Header.ElementValue(16) = ":"
CheckError 0, "ISA16 set to the composite separator"
ic.Header.ElementValue(6) = "SIXTEEN-CHARS-XX"
CheckError 12304, "an ISA06 longer than 15 characters"
ts.SegmentByPath "HL(3)\HL"
CheckError 12302, "instance 3 before instance 2"
doc.LoadGuide fso.BuildPath(folder, "no_such.SEF"), 0
CheckError 12310, "a missing guide"
On Error GoTo 0

doc.Save outPath
Dim text, expected
text = fso.OpenTextFile(outPath, 1).ReadAll()
fso.DeleteFile outPath
expected = "ISA*00*          *00*          *ZZ*SENDER         *ZZ* 431420764     *070301*1000*U*00401*000011427*0*P*:~" & _
  "GS*HC*****000042**004010X098A1~ST*837*000042~BHT*0019~NM1*41*2~HL*1~HI*BK:7840**BF:4011~" & _
  "SE*6*000042~GE*1*000042~IEA*1*000011427~"
Check text = expected, "the saved interchange: " & text
Check InStr(text, "~") = 106, "the ISA is 106 characters with its terminator"

ReportCounts
