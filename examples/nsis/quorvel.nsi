; Calling Quorvel from an NSIS 3 installer: a recipe to copy, with quorvel.nsh.
;   built as README.txt says ("Building the recipes"), then run as
;   quorvel-recipe.exe /S [/OPEN=DOCUMENT] /D=FOLDER
; A silent installer that, as installers do, unpacks the plug-in into
; $PLUGINSDIR and uses it through quorvel.nsh (the header to include in your
; own script): the free bytes of $INSTDIR's drive, deleting
; "$INSTDIR\old notes.txt" to the recycle bin, opening "$INSTDIR\readme.txt"
; (or the DOCUMENT given).
; What it learns goes to quorvel-log.txt beside the installer, a line a task:
; "WHAT:VALUE" ("opened: shell code 42", or "not opened: ..." where the shell
; answered 32 or less), or "WHAT failed: N" with the plug-in's exit status N.
Unicode true
!ifdef AMD64
  Target amd64-unicode                 ; a 64-bit installer, for the 64-bit build (before anything else)
!endif
!include FileFunc.nsh
!include quorvel.nsh                   ; after the target: it reads the target's pointer size
!ifndef QUORVEL
  !define QUORVEL quorvel.exe
!endif
!ifndef OUTFILE
  !define OUTFILE quorvel-recipe.exe
!endif
Name "Quorvel recipe"
OutFile "${OUTFILE}"
RequestExecutionLevel user
InstallDir "$TEMP\quorvel-recipe"
SilentInstall silent

Var log

!macro Log WHAT
  StrCmp $0 "0" +3
  FileWrite $log "${WHAT} failed: $0$\r$\n"
  Goto +2
  FileWrite $log "${WHAT}:$1$\r$\n"
!macroend

Section
  InitPluginsDir
  File "/oname=$PLUGINSDIR\quorvel.exe" "${QUORVEL}"
  CreateDirectory "$INSTDIR"
  FileOpen $log "$EXEDIR\quorvel-log.txt" w
  !insertmacro QuorvelFreeDiskSpace "$INSTDIR"       ; " 52837318656": a blank, then the digits
  !insertmacro Log "free bytes"
  !insertmacro QuorvelDelete "$INSTDIR\old notes.txt" ; "True", or "False" when the shell refused
  !insertmacro Log "deleted"
  ${GetParameters} $2
  ClearErrors
  ${GetOptions} $2 "/OPEN=" $2
  IfErrors 0 +2
  StrCpy $2 "$INSTDIR\readme.txt"
  !insertmacro QuorvelExecute "$2"
  StrCmp $0 "0" 0 execute_failed
  StrCpy $2 $1 1                       ; " 42": the blank before the digits off
  StrCmp $2 " " 0 +2
  StrCpy $1 $1 "" 1
  ; Windows promises a code above 32 for a target it opened; 32 or less is the shell's error
  IntCmp $1 32 not_opened not_opened
  FileWrite $log "opened: shell code $1$\r$\n"
  Goto executed
not_opened:
  FileWrite $log "not opened: shell code $1$\r$\n"
  Goto executed
execute_failed:
  FileWrite $log "opened failed: $0$\r$\n"
executed:
  FileClose $log
SectionEnd
