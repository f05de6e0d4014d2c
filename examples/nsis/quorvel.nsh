; Calling Quorvel from an NSIS 3 installer (Unicode true): the header to include.
;   !include quorvel.nsh
;   InitPluginsDir
;   File "/oname=$PLUGINSDIR\quorvel.exe" "path\to\quorvel.exe"
;   !insertmacro QuorvelFreeDiskSpace "$INSTDIR"        ; $1 " 52837318656"
;   !insertmacro QuorvelDelete "$INSTDIR\old notes.txt" ; $1 "True", or "False"
;   !insertmacro QuorvelExecute "$INSTDIR\readme.txt"   ; $1 " 42": above 32, opened
; Each sets $0 to "0", and then $1 to line 6 of the report after "Return =";
; or $0 to the plug-in's exit status N (the failure's number), "ended",
; "not started", "no report" or "no folder". No other register changes.
;
; Each run: make a folder for this run alone under $PLUGINSDIR (which no other
; user can write to where the installer runs elevated), and start the plug-in
; with TMP and TEMP naming it, so that its report is this run's and no other
; run's; wait for it, at most QUORVEL_LIMIT. A failing plug-in shows an error
; box that waits for a click, and an unattended installer must not hang on
; it: past the limit the installer presses OK on the box captioned "Plug-in
; Quorvel" (the plug-in then ends with the failure's number), or ends the
; plug-in where no such box answers ("ended"); any other window is left alone.
; ExecWait has no time limit, so the System plug-in that comes with NSIS calls
; kernel32 and user32 for that. Then take the exit status, and only when it is
; 0 and the report exists with the command's section as line 4, read line 6
; (FileRead reads the report's ANSI text in this machine's code page, as it
; must); remove the folder.
!ifndef QUORVEL_NSH
!define QUORVEL_NSH
!ifndef QUORVEL_LIMIT
  !define QUORVEL_LIMIT 10000          ; ms: a run takes well under a second; allow for your longest Delete
!endif
!if ${NSIS_PTR_SIZE} > 4
  !define QUORVEL_STARTUPINFO_REST 100 ; STARTUPINFOW is 104 bytes in a 64-bit installer, 68 in a 32-bit one
!else
  !define QUORVEL_STARTUPINFO_REST 64
!endif

Var QuorvelArguments                   ; in: the arguments, the path quoted
Var QuorvelSection                     ; in: the command's section, line 4 of its report
Var QuorvelStatus                      ; out: the exit status, "ended", "not started", "no report" or "no folder"
Var QuorvelValue                       ; out: line 6 after "Return =", where the status is 0
Var QuorvelRuns                        ; how many folders this installer has made

Function QuorvelRun
  Push $0
  Push $1
  Push $2
  Push $3
  Push $4
  Push $5
  Push $6
  Push $7
  Push $8
  StrCpy $QuorvelValue ""
  StrCpy $QuorvelStatus "no folder"
  StrCpy $5 0
folder:                                ; a new folder: never one that was there before
  IntOp $5 $5 + 1
  IntCmp $5 20 0 0 done
  IntOp $QuorvelRuns $QuorvelRuns + 1
  StrCpy $6 "$PLUGINSDIR\quorvel-$QuorvelRuns"
  System::Call 'kernel32::CreateDirectoryW(w r6, p 0) i .r2'
  IntCmp $2 0 folder
  StrCpy $QuorvelStatus "not started"
  ; TMP and TEMP name the folder while the plug-in is started (it takes a copy of them), and are then
  ; given back as they were.
  System::Call 'kernel32::GetEnvironmentVariableW(w "TMP", w .r7, i ${NSIS_MAX_STRLEN}) i .r2'
  System::Call 'kernel32::GetEnvironmentVariableW(w "TEMP", w .r8, i ${NSIS_MAX_STRLEN}) i .r3'
  System::Call 'kernel32::SetEnvironmentVariableW(w "TMP", w r6)'
  System::Call 'kernel32::SetEnvironmentVariableW(w "TEMP", w r6)'
  System::Call '*(&l4, &m${QUORVEL_STARTUPINFO_REST}) p .r0'  ; STARTUPINFOW: its size, the rest zero
  System::Call '*(p, p, i, i) p .r1'                  ; PROCESS_INFORMATION
  System::Call 'kernel32::CreateProcessW(p 0, w `"$PLUGINSDIR\quorvel.exe" $QuorvelArguments`, p 0, p 0, i 0, i 0, p 0, p 0, p r0, p r1) i .r4'
  System::Free $0
  System::Call '*$1(p .r0, p .r5, i .r3, i)'          ; the process, its thread, its id (none where it did not start)
  System::Free $1
  StrCmp $2 0 0 +3
  System::Call 'kernel32::SetEnvironmentVariableW(w "TMP", p 0)'
  Goto +2
  System::Call 'kernel32::SetEnvironmentVariableW(w "TMP", w r7)'
  StrCmp $3 0 0 +3
  System::Call 'kernel32::SetEnvironmentVariableW(w "TEMP", p 0)'
  Goto +2
  System::Call 'kernel32::SetEnvironmentVariableW(w "TEMP", w r8)'
  IntCmp $4 0 remove
  System::Call 'kernel32::CloseHandle(p r5)'
  System::Call 'kernel32::WaitForSingleObject(p r0, i ${QUORVEL_LIMIT}) i .r2'
  IntCmp $2 258 0 ended ended          ; 258: WAIT_TIMEOUT, an error box nobody will click
  StrCpy $2 0
press:                                 ; OK on each of that process's boxes captioned Plug-in Quorvel
  System::Call 'user32::FindWindowExW(p 0, p r2, w "#32770", w "Plug-in Quorvel") p .r2'
  IntCmp $2 0 pressed
  System::Call 'user32::GetWindowThreadProcessId(p r2, *i .r4)'
  IntCmp $4 $3 0 press press
  System::Call 'user32::GetDlgItem(p r2, i 1) p .r4'
  System::Call 'user32::PostMessageW(p r2, i 0x111, p 1, p r4)'  ; WM_COMMAND, IDOK clicked
  Goto press
pressed:
  System::Call 'kernel32::WaitForSingleObject(p r0, i 5000) i .r2'
  IntCmp $2 258 0 ended ended
  System::Call 'kernel32::TerminateProcess(p r0, i 1)'
  System::Call 'kernel32::WaitForSingleObject(p r0, i -1)'
  StrCpy $QuorvelStatus "ended"
  Goto closed
ended:
  System::Call 'kernel32::GetExitCodeProcess(p r0, *i .s)'
  Pop $QuorvelStatus
closed:
  System::Call 'kernel32::CloseHandle(p r0)'
  StrCmp $QuorvelStatus "0" 0 remove
  StrCpy $QuorvelStatus "no report"    ; until the report shows this command's section
  ClearErrors
  FileOpen $0 "$6\qrvplug.txt" r
  IfErrors remove
  FileRead $0 $2                       ; lines 1 to 4
  FileRead $0 $2
  FileRead $0 $2
  FileRead $0 $2
  StrCmp $2 "$QuorvelSection$\r$\n" 0 close
  FileRead $0 $2                       ; line 5
  FileRead $0 $2                       ; line 6: "Return =" and the value, CR LF
  StrCpy $QuorvelValue $2 -2 8         ; without "Return =" and the CR LF
  StrCpy $QuorvelStatus "0"
close:
  FileClose $0
remove:
  RMDir /r $6
done:
  Pop $8
  Pop $7
  Pop $6
  Pop $5
  Pop $4
  Pop $3
  Pop $2
  Pop $1
  Pop $0
FunctionEnd

!macro _QuorvelRun ARGUMENTS SECTION
  StrCpy $QuorvelArguments `${ARGUMENTS}`
  StrCpy $QuorvelSection "${SECTION}"
  Call QuorvelRun
  StrCpy $0 $QuorvelStatus
  StrCpy $1 $QuorvelValue
!macroend
!macro QuorvelFreeDiskSpace PATH
  !insertmacro _QuorvelRun `FreeDiskSpace "${PATH}"` "[FreeDiskSpace]"
!macroend
!macro QuorvelDelete PATH
  !insertmacro _QuorvelRun `Delete "${PATH}"` "[Delete]"
!macroend
!macro QuorvelExecute PATH
  !insertmacro _QuorvelRun `Execute "${PATH}"` "[Execute]"
!macroend
!endif
