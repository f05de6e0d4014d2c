@echo off
rem Calling Quorvel from a batch file: a recipe to copy.
rem   quorvel-host.cmd FOLDER FILE DOCUMENT
rem Asks quorvel.exe (beside this file) for the free bytes of FOLDER's drive,
rem deletes FILE to the recycle bin and opens DOCUMENT, one line for each:
rem "WHAT:VALUE" ("opened: shell code 42", or "not opened: ..." where the
rem shell answered 32 or less), or "WHAT failed: N" with the plug-in's exit
rem status N.
rem
rem Each run: delete the old report; start the plug-in with every path quoted;
rem wait for it, at most LIMIT seconds; take its exit status, and only when
rem that is 0 and the report's line 4 is the command's section, read line 6
rem (ANSI text; these values are plain ASCII).
rem
rem What a batch file can and cannot learn: cmd.exe cannot press a button, so
rem a failing plug-in, which shows an error box that waits for a click, is
rem ended when the limit passes ("failed: ended"), and its failure's number is
rem lost; use a host that presses OK (the C recipe) to learn it. Ending it
rem ends every quorvel.exe this user runs: run one at a time anyway, since all
rem share the one report. The plug-in runs in a second cmd.exe that leaves its
rem exit status in quorvel-status.txt beside this file, where this one waits
rem for it; so this folder must be writable.
setlocal
set LIMIT=10
rem The report is in the temp folder as Windows finds it: TMP, else TEMP,
rem else USERPROFILE (where TMP and TEMP differ, TEMP's is not it).
set "folder=%TMP%"
if not defined folder set "folder=%TEMP%"
if not defined folder set "folder=%USERPROFILE%"
set "report=%folder%\qrvplug.txt"
set "status=%~dp0quorvel-status.txt"
if "%~1"==":plugin" goto :plugin
set failed=0
call :run "free bytes" [FreeDiskSpace] FreeDiskSpace "%~1"
call :run "deleted" [Delete] Delete "%~2"
call :run "opened" [Execute] Execute "%~3"
exit /b %failed%

:run
rem %1: what to print; %2: the command's section; %3: the command; %4: its path, quoted.
del "%report%" "%status%" 2>nul
set plugin=%3 %4
start "" /b cmd /c call "%~f0" :plugin
set waited=0
:wait
if exist "%status%" goto :ended
if %waited% geq %LIMIT% goto :late
ping -n 2 127.0.0.1 >nul
set /a waited+=1
goto :wait
:late
taskkill /f /im quorvel.exe >nul 2>&1
set waited=0
:gone
ping -n 2 127.0.0.1 >nul
set /a waited+=1
if not exist "%status%" if %waited% lss 5 goto :gone
del "%status%" 2>nul
echo %~1 failed: ended after %LIMIT% s
set failed=1
goto :eof
:ended
set /p code=<"%status%"
del "%status%"
if not "%code%"=="0" (
  echo %~1 failed: %code%
  set failed=1
  goto :eof
)
rem Line 4 must be the command's section; line 6 is "Return =" and the value.
set line4=
for /f "usebackq skip=3 delims=" %%a in ("%report%") do if not defined line4 set "line4=%%a"
if not "%line4%"=="%~2" (
  echo %~1 failed: no report
  set failed=1
  goto :eof
)
set value=
for /f "usebackq skip=5 tokens=1* delims==" %%a in ("%report%") do if not defined value set "value=%%b"
if not "%3"=="Execute" (
  echo %~1:%value%
  goto :eof
)
rem Windows promises a code above 32 for a target it opened; 32 or less is the shell's error.
set /a code=%value%
if %code% gtr 32 (echo opened: shell code %code%) else (echo not opened: shell code %code%)
goto :eof

:plugin
rem In the second cmd.exe: run the plug-in with the arguments the first left in
rem %plugin%, then leave its exit status, whole, for the first.
start "" /wait "%~dp0quorvel.exe" %plugin%
>"%status%.new" echo %ERRORLEVEL%
move /y "%status%.new" "%status%" >nul
exit
