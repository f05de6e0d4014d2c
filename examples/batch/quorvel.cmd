@echo off
rem Calling Quorvel from a batch file: the part to copy, used with call.
rem   call quorvel.cmd COMMAND ["PATH"]
rem Runs quorvel.exe (beside this file) with COMMAND and the PATH given,
rem quoted, and sets for its caller:
rem   QUORVEL_STATUS  0, the plug-in's exit status N, "ended after 10 s",
rem                   "no report" or "no folder of its own"
rem   QUORVEL_VALUE   line 6 after "Return =", where QUORVEL_STATUS is 0
rem
rem Each run: make a folder for this run alone beside this file (the plug-in
rem writes its report there: TMP and TEMP name it), so that no other run's
rem report is ever read; start the plug-in; wait for it, at most LIMIT
rem seconds; take its exit status, and only when that is 0 and the report's
rem line 4 is the command's section, read line 6 (ANSI text; these values are
rem plain ASCII); remove the folder.
rem
rem What a batch file can and cannot learn: cmd.exe cannot press a button, so
rem a failing plug-in, which shows an error box that waits for a click, is
rem ended when the limit passes ("ended after 10 s"), and its failure's number
rem is lost; use a host that presses OK (the C recipe) to learn it. Ending it
rem ends every quorvel.exe this user runs. The plug-in runs in a second
rem cmd.exe that leaves its exit status in the run's folder, where this one
rem waits for it; so this file's folder must be writable.
if "%~1"==":plugin" goto :plugin
setlocal
set LIMIT=10
set QUORVEL_STATUS=no folder of its own
set QUORVEL_VALUE=
set tries=0
:folder
rem mkdir fails where the name is taken (a folder, a file, or a link someone
rem left there), and another name is tried. It sets ERRORLEVEL only when it
rem fails, so the level is cleared first.
set /a tries+=1
if %tries% gtr 20 goto :done
set "run=%~dp0quorvel-run-%RANDOM%%RANDOM%"
cmd /c exit 0
mkdir "%run%" 2>nul
if errorlevel 1 goto :folder
set "TMP=%run%"
set "TEMP=%run%"
set "report=%run%\qrvplug.txt"
set "status=%run%\status.txt"
set "section=[%~1]"
set plugin=%1 %2
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
set QUORVEL_STATUS=ended after %LIMIT% s
goto :remove
:ended
set /p QUORVEL_STATUS=<"%status%"
if not "%QUORVEL_STATUS%"=="0" goto :remove
rem Line 4 must be the command's section; line 6 is "Return =" and the value.
set line4=
for /f "usebackq skip=3 delims=" %%a in ("%report%") do if not defined line4 set "line4=%%a"
if not "%line4%"=="%section%" (
  set QUORVEL_STATUS=no report
  goto :remove
)
for /f "usebackq skip=5 tokens=1* delims==" %%a in ("%report%") do if not defined QUORVEL_VALUE set "QUORVEL_VALUE=%%b"
:remove
rd /s /q "%run%" 2>nul
:done
endlocal & set "QUORVEL_STATUS=%QUORVEL_STATUS%" & set "QUORVEL_VALUE=%QUORVEL_VALUE%"
goto :eof

:plugin
rem In the second cmd.exe: run the plug-in with the arguments the first left in
rem %plugin%, then leave its exit status, whole, for the first.
start "" /wait "%~dp0quorvel.exe" %plugin%
>"%status%.new" echo %ERRORLEVEL%
move /y "%status%.new" "%status%" >nul
exit
