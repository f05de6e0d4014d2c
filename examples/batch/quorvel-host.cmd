@echo off
rem Calling Quorvel from a batch file: a recipe to copy.
rem   quorvel-host.cmd FOLDER FILE DOCUMENT
rem Asks quorvel.exe (beside this file) for the free bytes of FOLDER's drive,
rem deletes FILE to the recycle bin and opens DOCUMENT, one line for each.
rem Each run: delete the old report, start the plug-in with every path quoted
rem and wait for it, take its exit status, and only when that is 0 read line 6
rem of the report (ANSI text; these values are plain ASCII). A non-zero status
rem is the failure's number: see the README's table. A failure also shows an
rem error box that waits for a click: run this only where someone can press OK.
setlocal
set "report=%TEMP%\qrvplug.txt"
set failed=0
call :run "free bytes" FreeDiskSpace "%~1"
call :run "deleted" Delete "%~2"
call :run "opened, shell code" Execute "%~3"
exit /b %failed%

:run
rem %1: what to print; %2: the command; %3: its path, quoted.
del "%report%" 2>nul
start "" /wait "%~dp0quorvel.exe" %2 %3
set status=%ERRORLEVEL%
if not "%status%"=="0" (
  echo %~1 failed: %status%
  set failed=1
  goto :eof
)
rem Line 6 is "Return =" and the value: skip five lines, take what follows "=".
for /f "usebackq skip=5 tokens=1* delims==" %%a in ("%report%") do echo %~1:%%b
goto :eof
