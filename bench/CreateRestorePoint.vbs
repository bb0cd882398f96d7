Option Explicit
Dim result
result = GetObject("winmgmts:\\.\root\default:Systemrestore").CreateRestorePoint("Automatic Restore Point", 0, 100)
WScript.Quit result
