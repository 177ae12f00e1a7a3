' The field store as a late-bound host drives it: ProgIDs, For Each, Err.Number and Err.Description.
' (Check, CheckError and ReportCounts come from checks.vbs.)

Dim store, f, names, layout, description
Set store = CreateObject("sendarro7.OutputFields")
Check store.Count = 0, "a new store is empty"

Set f = store.Add("SubId")
Check f.Name = "SubId", "Add returns the new member"
Check f.DataType = 0 And f.FromCol = 0 And f.Value = "", "optional arguments take their defaults"
store.Add "SubName"
store.Add "SubType", 0, 5, 9, "", 1, "", False
Check store.Count = 3, "three members"

' For Each meets the members in the order they were added.
names = ""
For Each f In store
  names = names & f.Name & ","
Next
Check names = "SubId,SubName,SubType,", "enumeration order: " & names

' Keys compare without regard to case; Item is the default member.
store.SetValue "SUBNAME", "Acme Billing"
Check store("subname").Value = "Acme Billing", "SetValue and Item ignore case"
Check store.Item(2).Value = "Acme Billing", "Item by position"
Check store.BRExists("SubId") And Not store.BRExists("Nope"), "BRExists"

On Error Resume Next
store.Add "subid"
CheckError 457, "Add of a name already held"
On Error GoTo 0
Check store.Count = 3, "nothing added on a duplicate"

On Error Resume Next
Set f = store.Item("Missing")
CheckError 5, "Item with a missing key"
Set f = store.Item(0)
CheckError 9, "Item at position 0"
Set f = store.Item(4)
CheckError 9, "Item after the last"
store.Remove "Missing"
CheckError 5, "Remove with a missing key"

store.SetValue "Nope", "x"
CheckError -2147221503, "SetValue of a missing name"

store.PrintMe 1
description = Err.Description
CheckError 91, "PrintMe without a layout"
Check description = "Object variable or With block variable not set", "description of 91: " & description

store.Add "Dup"
CheckError 0, "Add of a new name"
store.Add "DUP"
description = Err.Description
CheckError 457, "Add of a name already held, in another case"
Check description = "This key is already associated with an element of this collection", _
      "description of 457: " & description
On Error GoTo 0

' A second store serves as the layout of the first.
Set layout = CreateObject("sendarro7.OutputFields")
layout.Add "", 0, 1, 3, "AA0"
Set store.OutDefns = layout
Check store.OutDefns.Count = 1, "OutDefns holds the layout"
Check Not layout.LastLine, "LastLine starts False"

store.Remove 1
Check store.Count = 3 And store(1).Name = "SubName", "Remove moves later members up"

ReportCounts
