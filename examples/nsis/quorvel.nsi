; Calling Quorvel from an NSIS 3 installer: a recipe to copy.
;   makensis -DQUORVEL=path\to\quorvel.exe [-DAMD64] quorvel.nsi    then    quorvel-recipe.exe /S /D=FOLDER
; A silent installer that, as installers do, unpacks the plug-in into
; $PLUGINSDIR and uses it: the free bytes of $INSTDIR's drive, deleting
; "$INSTDIR\old notes.txt" to the recycle bin, opening "$INSTDIR\readme.txt".
; What it learns goes to the installer's log and to $INSTDIR\quorvel-log.txt.
; Each run: delete the old report, start the plug-in with every path quoted
; and wait for it, take its exit status, and only when that is 0 read line 6
; of the report. FileRead reads the report's ANSI text in this machine's code
; page, as it must. A non-zero status is the failure's number (the README's
; table); the plug-in then also showed an error box, which waits for a click.
Unicode true
!ifndef QUORVEL
  !define QUORVEL quorvel.exe
!endif
!ifndef OUTFILE
  !define OUTFILE quorvel-recipe.exe
!endif
!ifdef AMD64
  Target amd64-unicode                 ; a 64-bit installer, for the 64-bit build
!endif
Name "Quorvel recipe"
OutFile "${OUTFILE}"
RequestExecutionLevel user
InstallDir "$TEMP\quorvel-recipe"
SilentInstall silent

Var log

; Runs the plug-in: push the arguments, call, pop the value of line 6, then the exit status.
Function RunQuorvel
  Exch $0                              ; the arguments, every path quoted
  Push $1
  Push $2
  Delete "$TEMP\qrvplug.txt"           ; never read a report an earlier run left
  ExecWait '"$PLUGINSDIR\quorvel.exe" $0' $1
  StrCpy $0 ""
  StrCmp $1 "0" 0 done
  FileOpen $2 "$TEMP\qrvplug.txt" r
  FileRead $2 $0                       ; lines 1 to 5
  FileRead $2 $0
  FileRead $2 $0
  FileRead $2 $0
  FileRead $2 $0
  FileRead $2 $0                       ; line 6: "Return =" and the value, CR LF
  FileClose $2
  StrCpy $0 $0 -2 8                    ; without "Return =" and the CR LF
done:
  Pop $2
  Exch $1                              ; the exit status ...
  Exch
  Exch $0                              ; ... under the value
FunctionEnd

!macro Report WHAT
  Pop $1                               ; the value
  Pop $0                               ; the exit status
  StrCmp $0 "0" +3
  FileWrite $log "${WHAT} failed: $0$\r$\n"
  Goto +2
  FileWrite $log "${WHAT}:$1$\r$\n"
!macroend

Section
  InitPluginsDir
  File "/oname=$PLUGINSDIR\quorvel.exe" "${QUORVEL}"
  CreateDirectory "$INSTDIR"
  FileOpen $log "$INSTDIR\quorvel-log.txt" w

  Push 'FreeDiskSpace "$INSTDIR"'
  Call RunQuorvel
  !insertmacro Report "free bytes"       ; " 52837318656": a blank, then the digits

  Push 'Delete "$INSTDIR\old notes.txt"'
  Call RunQuorvel
  !insertmacro Report "deleted"          ; "True", or "False" when the shell refused

  Push 'Execute "$INSTDIR\readme.txt"'
  Call RunQuorvel
  !insertmacro Report "opened, shell code"  ; above 32: opened; 32 or less: the shell's error

  FileClose $log
SectionEnd
