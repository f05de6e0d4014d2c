; Calling Quorvel from an NSIS 3 installer: a recipe to copy.
;   makensis -DQUORVEL=path\to\quorvel.exe [-DAMD64] quorvel.nsi
;   then    quorvel-recipe.exe /S [/OPEN=DOCUMENT] /D=FOLDER
; A silent installer that, as installers do, unpacks the plug-in into
; $PLUGINSDIR and uses it: the free bytes of $INSTDIR's drive, deleting
; "$INSTDIR\old notes.txt" to the recycle bin, opening "$INSTDIR\readme.txt"
; (or the DOCUMENT given).
; What it learns goes to quorvel-log.txt beside the installer, a line a task:
; "WHAT:VALUE" ("opened: shell code 42", or "not opened: ..." where the shell
; answered 32 or less), or "WHAT failed: N" with the plug-in's exit status N.
;
; Each run: delete the old report; start the plug-in with every path quoted;
; wait for it, at most LIMIT. A failing plug-in shows an error box that waits
; for a click, and an unattended installer must not hang on it: past the
; limit the installer presses OK on the box captioned "Plug-in Quorvel" (the
; plug-in then ends with the failure's number), or ends the plug-in where no
; such box answers ("failed: ended"); any other window is left alone.
; ExecWait has no time limit, so the System plug-in that comes with NSIS
; calls kernel32 and user32 for that. Then take the exit status, and only
; when it is 0 and the report exists with the command's section as line 4,
; read line 6. FileRead reads the report's ANSI text in this machine's code
; page, as it must.
Unicode true
!include FileFunc.nsh
!ifndef QUORVEL
  !define QUORVEL quorvel.exe
!endif
!ifndef OUTFILE
  !define OUTFILE quorvel-recipe.exe
!endif
!ifdef AMD64
  Target amd64-unicode                 ; a 64-bit installer, for the 64-bit build
  !define STARTUPINFO_REST 100         ; STARTUPINFOW is 104 bytes here, 68 in a 32-bit installer
!else
  !define STARTUPINFO_REST 64
!endif
!define LIMIT 10000                    ; ms: a run takes well under a second; allow for your longest Delete
Name "Quorvel recipe"
OutFile "${OUTFILE}"
RequestExecutionLevel user
InstallDir "$TEMP\quorvel-recipe"
SilentInstall silent

Var log
Var arguments                          ; in: the arguments, every path quoted
Var section                            ; in: the command's section, line 4 of its report
Var status                             ; out: the exit status, "ended", "not started" or "no report"
Var value                              ; out: line 6 after "Return =", where status is 0

Function RunQuorvel
  Push $0
  Push $1
  Push $2
  Push $3
  Push $4
  Delete "$TEMP\qrvplug.txt"           ; never read a report an earlier run left
  StrCpy $value ""
  StrCpy $status "not started"
  System::Call '*(&l4, &m${STARTUPINFO_REST}) p .r0'  ; STARTUPINFOW: its size, the rest zero
  System::Call '*(p, p, i, i) p .r1'                  ; PROCESS_INFORMATION
  System::Call 'kernel32::CreateProcessW(p 0, w `"$PLUGINSDIR\quorvel.exe" $arguments`, p 0, p 0, i 0, i 0, p 0, p 0, p r0, p r1) i .r2'
  System::Free $0
  IntCmp $2 0 done
  System::Call '*$1(p .r0, p .r2, i .r3, i)'          ; the process, its thread, its id
  System::Call 'kernel32::CloseHandle(p r2)'
  System::Call 'kernel32::WaitForSingleObject(p r0, i ${LIMIT}) i .r2'
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
  StrCpy $status "ended"
  Goto closed
ended:
  System::Call 'kernel32::GetExitCodeProcess(p r0, *i .s)'
  Pop $status
closed:
  System::Call 'kernel32::CloseHandle(p r0)'
  StrCmp $status "0" 0 done
  StrCpy $status "no report"           ; until the report shows this command's section
  ClearErrors
  FileOpen $0 "$TEMP\qrvplug.txt" r
  IfErrors done
  FileRead $0 $2                       ; lines 1 to 4
  FileRead $0 $2
  FileRead $0 $2
  FileRead $0 $2
  StrCmp $2 "$section$\r$\n" 0 close
  FileRead $0 $2                       ; line 5
  FileRead $0 $2                       ; line 6: "Return =" and the value, CR LF
  StrCpy $value $2 -2 8                ; without "Return =" and the CR LF
  StrCpy $status "0"
close:
  FileClose $0
done:
  System::Free $1
  Pop $4
  Pop $3
  Pop $2
  Pop $1
  Pop $0
FunctionEnd

!macro Run WHAT SECTION ARGUMENTS
  StrCpy $section "${SECTION}"
  StrCpy $arguments '${ARGUMENTS}'
  Call RunQuorvel
  StrCmp $status "0" +3
  FileWrite $log "${WHAT} failed: $status$\r$\n"
  Goto +2
  FileWrite $log "${WHAT}:$value$\r$\n"
!macroend

Section
  InitPluginsDir
  File "/oname=$PLUGINSDIR\quorvel.exe" "${QUORVEL}"
  CreateDirectory "$INSTDIR"
  FileOpen $log "$EXEDIR\quorvel-log.txt" w
  ; " 52837318656": a blank, then the digits
  !insertmacro Run "free bytes" "[FreeDiskSpace]" 'FreeDiskSpace "$INSTDIR"'
  ; "True", or "False" when the shell refused
  !insertmacro Run "deleted" "[Delete]" 'Delete "$INSTDIR\old notes.txt"'
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/OPEN=" $0
  IfErrors 0 +2
  StrCpy $0 "$INSTDIR\readme.txt"
  StrCpy $section "[Execute]"
  StrCpy $arguments 'Execute "$0"'
  Call RunQuorvel
  StrCmp $status "0" 0 execute_failed
  StrCpy $1 $value 1                   ; " 42": the blank before the digits off
  StrCmp $1 " " 0 +2
  StrCpy $value $value "" 1
  ; Windows promises a code above 32 for a target it opened; 32 or less is the shell's error
  IntCmp $value 32 not_opened not_opened
  FileWrite $log "opened: shell code $value$\r$\n"
  Goto executed
not_opened:
  FileWrite $log "not opened: shell code $value$\r$\n"
  Goto executed
execute_failed:
  FileWrite $log "opened failed: $status$\r$\n"
executed:
  FileClose $log
SectionEnd
