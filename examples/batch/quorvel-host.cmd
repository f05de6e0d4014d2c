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
call :task "free bytes" FreeDiskSpace "%~1"
call :task "deleted" Delete "%~2"
call :task "opened" Execute "%~3"
exit /b %failed%

:task
rem %1: what to print; %2: the command; %3: its path, quoted.
call "%~dp0quorvel.cmd" %2 %3
if not "%QUORVEL_STATUS%"=="0" (
  echo %~1 failed: %QUORVEL_STATUS%
  set failed=1
  goto :eof
)
if not "%2"=="Execute" (
  echo %~1:%QUORVEL_VALUE%
  goto :eof
)
rem Windows promises a code above 32 for a target it opened; 32 or less is the shell's error.
set /a code=%QUORVEL_VALUE%
if %code% gtr 32 (echo opened: shell code %code%) else (echo not opened: shell code %code%)
goto :eof
