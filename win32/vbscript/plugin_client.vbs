' An independent automation client of both plug-in classes: creation by programmatic
' identifier, Init with Nothing, with objects of the wrong kind and with wrong arguments.
' Prints one line per check and a closing line; "VBSCRIPT CLIENT PASSED" only when all passed.
Option Explicit

Dim passed, failed
passed = 0
failed = 0

Sub Check(ok, what)
  If ok Then
    passed = passed + 1
    WScript.Echo "ok - " & what
  Else
    failed = failed + 1
    WScript.Echo "FAIL - " & what
  End If
End Sub

' The error of the last statement, as "number: description [source]".
Function Described()
  Described = Err.Number & ": " & Err.Description & " [" & Err.Source & "]"
End Function

Dim res, sched, dict, got
On Error Resume Next

Set res = CreateObject("QxIndDepComponent.EIResource")
Check Err.Number = 0 And IsObject(res), "CreateObject QxIndDepComponent.EIResource (" & Described() & ")"
Err.Clear

' Identifiers are matched without regard to letter case.
Set sched = CreateObject("qxinddepcomponent.EIREPSCHEDULER")
Check Err.Number = 0 And IsObject(sched), "CreateObject in other letter case (" & Described() & ")"
Err.Clear

res.Init Nothing
Check Err.Number = 0, "EIResource.Init Nothing succeeds (" & Described() & ")"
Err.Clear

' The schedule plug-in goes on with its form set-up, which needs an event source.
sched.Init Nothing
Check Err.Number = 91, "EIRepScheduler.Init Nothing fails with 91 (" & Described() & ")"
Err.Clear

res.Init sched
got = Err.Number
Check got = 13, "EIResource.Init with a schedule plug-in is a type mismatch (" & Described() & ")"
Check InStr(Err.Description, "MasterDataEvents") > 0, "the description names MasterDataEvents"
Check Err.Source = "EIResource", "the source is EIResource (" & Err.Source & ")"
Err.Clear

sched.Init res
Check Err.Number = 13, "EIRepScheduler.Init with a resource plug-in is a type mismatch (" & Described() & ")"
Check InStr(Err.Description, "BillEvents") > 0, "the description names BillEvents"
Err.Clear

Set dict = CreateObject("Scripting.Dictionary")
If Err.Number = 0 Then
  res.Init dict
  Check Err.Number = 13, "EIResource.Init with a dictionary is a type mismatch (" & Described() & ")"
Else
  Check False, "CreateObject Scripting.Dictionary (" & Described() & ")"
End If
Err.Clear

res.Init "MasterDataEvents"
Check Err.Number = 13, "EIResource.Init with a text is a type mismatch (" & Described() & ")"
Err.Clear

res.Init 42
Check Err.Number = 13, "EIResource.Init with a number is a type mismatch (" & Described() & ")"
Err.Clear

res.Init
Check Err.Number = 450, "EIResource.Init without an argument fails with 450 (" & Described() & ")"
Err.Clear

res.Init Nothing, Nothing
Check Err.Number = 450, "EIResource.Init with two arguments fails with 450 (" & Described() & ")"
Err.Clear

sched.Init Nothing, 1, 2
Check Err.Number = 450, "EIRepScheduler.Init with three arguments fails with 450 (" & Described() & ")"
Err.Clear

res.NoSuchMember
Check Err.Number = 438, "an unknown member fails with 438 (" & Described() & ")"
Err.Clear

' After the failures the object still works.
res.Init Nothing
Check Err.Number = 0, "EIResource.Init Nothing still succeeds (" & Described() & ")"
Err.Clear

Set dict = Nothing
Set res = Nothing
Set sched = Nothing
Check Err.Number = 0, "release of both plug-ins (" & Described() & ")"
Err.Clear

WScript.Echo "vbscript: " & passed & " passed, " & failed & " failed"
If failed = 0 And passed > 0 Then
  WScript.Echo "VBSCRIPT CLIENT PASSED"
  WScript.Quit 0
End If
WScript.Quit 1
