' Example host: fills the field stores of a small claim file and reads them back, the way the
' practice-management host does before it exports. Run it with scripts/demo.
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
