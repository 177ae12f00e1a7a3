' The folder, product and version classes as a late-bound host drives them: ProgIDs, the
' product folders of every product, the user's folders and the version answers.
' (Check, CheckError and ReportCounts come from checks.vbs.)

Dim sh, programs, publicDocs, programData, documents
Set sh = CreateObject("WScript.Shell")
programs = sh.ExpandEnvironmentStrings("%ProgramFiles%")
publicDocs = sh.ExpandEnvironmentStrings("%PUBLIC%") & "\Documents"
programData = sh.ExpandEnvironmentStrings("%ProgramData%")
documents = sh.ExpandEnvironmentStrings("%USERPROFILE%") & "\Documents"

Dim app, other, locs, info
Set app = CreateObject("gorsewick.MBYAppName")
Set other = CreateObject("gorsewick.MBYAppName")
Set locs = CreateObject("gorsewick.fileLocations")
Set info = CreateObject("gorsewick.VistaInfo")

Check app.appName = 0, "a new product is appNameNotSet"
Check locs.appName.appName = 0, "a new fileLocations holds a product that is not set"

' Every product: its names and its three folders, from its own product object.
Dim products, dirNames, labels, i, tail
products = Array(0, 1, 2, 3, 9)
dirNames = Array("", "Vendral Std", "Vendral Ent", "Tallowmere", "")
labels = Array("", "Vendral Standard", "Vendral Enterprise", "Tallowmere", "")
Set locs.appName = app
For i = 0 To UBound(products)
  app.appName = products(i)
  tail = "\Marlowby\" & dirNames(i)
  Check app.appDirName = dirNames(i), "appDirName of " & products(i) & ": " & app.appDirName
  Check app.appLabel = labels(i), "appLabel of " & products(i) & ": " & app.appLabel
  Check locs.publicDataPath = publicDocs & tail, "publicDataPath of " & products(i) & ": " & locs.publicDataPath
  Check locs.hiddenDataPath() = programData & tail, "hiddenDataPath of " & products(i) & ": " & locs.hiddenDataPath()
  Check locs.preferredAppPath = programs & tail, "preferredAppPath of " & products(i) & ": " & locs.preferredAppPath
Next

' A product passed in wins over the object's own; the object's own is changed through it.
other.appName = 2
app.appName = 3
Check locs.publicDataPath(other) = publicDocs & "\Marlowby\Vendral Ent", "publicDataPath(VNE): " & locs.publicDataPath(other)
Check locs.hiddenDataPath(other) = programData & "\Marlowby\Vendral Ent", "hiddenDataPath(VNE)"
locs.appName.appName = 1
Check locs.publicDataPath = publicDocs & "\Marlowby\Vendral Std", "product changed through locs.appName"
Check app.appName = 1, "locs.appName is the host's own object"

' The user's folders.
Check locs.userDocPath = documents, "userDocPath: " & locs.userDocPath
Check Len(locs.userTempPath) > 3 And Right(locs.userTempPath, 1) <> "\", "userTempPath without closing \: " & locs.userTempPath
Check Right(locs.userVirtualDataPath, 13) = "\VirtualStore", "userVirtualDataPath: " & locs.userVirtualDataPath
Check locs.getVirtualPath("c:\program files\no such folder\x.ini") = "", "getVirtualPath of a missing file"
locs.installedPath = "C:\Somewhere"
Check locs.installedPath = "C:\Somewhere", "installedPath keeps its value"

' Without a product object the product calls fail with 91.
Set locs.appName = Nothing
Dim dummy
On Error Resume Next
dummy = locs.publicDataPath
CheckError 91, "publicDataPath without a product"
On Error GoTo 0
Check locs.publicDataPath(other) = publicDocs & "\Marlowby\Vendral Ent", "a product passed in still works"

' Version answers; test mode answers as Vista.
Check info.isOSVersionXPOrGreater, "isOSVersionXPOrGreater"
Check info.IsOSVersionNTOrGreater, "IsOSVersionNTOrGreater"
Check info.INTESTMODE = False, "INTESTMODE starts False"
info.INTESTMODE = True
Check info.IsOSVersionVista, "IsOSVersionVista in test mode"
Check info.fileInProctectedArea("c:\program files\Marlowby\Tallowmere\TM3.ini", True), "program files are protected"
Check info.fileInProctectedArea("C:\claims.txt"), "the root of C: is protected"
Check Not info.fileInProctectedArea("D:\Windows\x.ini", True), "D: is not protected"
Check info.WRPWarningSetting = 0, "WRPWarningSetting starts SHOW_DLG"
Check info.continueSave = False, "continueSave starts False"

ReportCounts
