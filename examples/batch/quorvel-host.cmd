@echo off
rem Calling Quorvel from a batch file: a recipe to copy.
rem   quorvel-host.cmd FOLDER FILE DOCUMENT
rem Asks quorvel.exe (beside this file) for the free bytes of FOLDER's drive,
rem deletes FILE to the recycle bin and opens DOCUMENT, one line for each:
rem "WHAT:VALUE" ("opened: shell code 42", or "not opened: ..." where the
rem shell answered 32 or less), or "WHAT failed: N" with the plug-in's exit
rem status N. Each run goes through quorvel.cmd beside it (call it from your
rem own batch file), which gives it a temp folder of its own.
setlocal
set failed=0
call "%~dp0quorvel.cmd" FreeDiskSpace "%~1"
call :say "free bytes"
call "%~dp0quorvel.cmd" Delete "%~2"
call :say "deleted"
call "%~dp0quorvel.cmd" Execute "%~3"
call :say "opened"
exit /b %failed%

:say
rem %1: what to print, with the status and value quorvel.cmd left.
if not "%QUORVEL_STATUS%"=="0" (
  echo %~1 failed: %QUORVEL_STATUS%
  set failed=1
  goto :eof
)
if not "%~1"=="opened" (
  echo %~1:%QUORVEL_VALUE%
  goto :eof
)
rem Windows promises a code above 32 for a target it opened; 32 or less is the shell's error.
set /a code=%QUORVEL_VALUE%
if %code% gtr 32 (echo opened: shell code %code%) else (echo not opened: shell code %code%)
goto :eof
