; Calling Quorvel from an Inno Setup 6 installer: the piece to include.
;   #define QuorvelExe "path\to\quorvel.exe"    ; optional: the build you ship (default: quorvel.exe beside your script)
;   #include "quorvel.iss"
; and in [Code], with Value a String variable of yours:
;   Status := QuorvelFreeDiskSpace(ExpandConstant('{app}'), Value);        // Value ' 52837318656'
;   Status := QuorvelDelete(ExpandConstant('{app}\old notes.txt'), Value); // 'True', or 'False'
;   Status := QuorvelExecute(ExpandConstant('{app}\readme.txt'), Value);   // ' 42': above 32, opened
; Each answers '0', and then Value is line 6 of the report after "Return ="; or the plug-in's exit status N
; (the failure's number), 'ended', 'not started', 'no report' or 'no folder', and Value is ''.
;
; quorvel.exe goes into the installer ([Files], dontcopy) and is extracted into Setup's own temp folder when
; first needed. Each run: a new folder for this run alone under that temp folder; the plug-in started with TMP
; and TEMP naming it (Setup's own are given back at once), so that its report is this run's and no other run's;
; a wait of at most QuorvelLimit ms. A failing plug-in shows an error box that waits for a click, and Exec has no
; time limit, so past the limit OK is pressed on the box captioned "Plug-in Quorvel" (the plug-in then ends with
; the failure's number), or the plug-in is ended where no such box answers ('ended'); any other window is left
; alone. Then the exit status, and only where it is 0 and the report's line 4 is the command's section, line 6;
; the folder removed. Nothing here is an event function or a setting of Setup's: it serves in both privilege
; modes, as the user Setup runs as.
#ifndef QuorvelExe
  #define QuorvelExe "quorvel.exe"
#endif
#ifndef QuorvelLimit
  #define QuorvelLimit 10000
#endif

[Files]
Source: "{#QuorvelExe}"; DestName: "quorvel.exe"; Flags: dontcopy

[Code]
type
  TQuorvelStartupInfo = record
    Size, Reserved, Desktop, Title, X, Y, Width, Height, Columns, Rows, Attributes, Flags: Cardinal;
    ShowWindow, Reserved2Size: Word;
    Reserved2, Input, Output, Error: Cardinal;
  end;
  TQuorvelProcess = record
    Process, Thread, ProcessId, ThreadId: Cardinal;
  end;

var
  QuorvelRuns: Integer;

function QuorvelCreateProcess(Application, CommandLine: String; ProcessAttributes, ThreadAttributes, Inherit,
  Flags, Environment, Folder: Cardinal; var Startup: TQuorvelStartupInfo; var Started: TQuorvelProcess): Integer;
  external 'CreateProcessW@kernel32.dll stdcall';
function QuorvelWait(Handle, Milliseconds: Cardinal): Cardinal;
  external 'WaitForSingleObject@kernel32.dll stdcall';
function QuorvelExitCode(Process: Cardinal; var Code: Cardinal): Integer;
  external 'GetExitCodeProcess@kernel32.dll stdcall';
function QuorvelTerminate(Process, Code: Cardinal): Integer;
  external 'TerminateProcess@kernel32.dll stdcall';
function QuorvelClose(Handle: Cardinal): Integer;
  external 'CloseHandle@kernel32.dll stdcall';
function QuorvelSetEnvironment(Name, Value: String): Integer;
  external 'SetEnvironmentVariableW@kernel32.dll stdcall';
function QuorvelClearEnvironment(Name: String; None: Cardinal): Integer;
  external 'SetEnvironmentVariableW@kernel32.dll stdcall';
function QuorvelFindWindow(Parent, After: HWND; ClassName, Caption: String): HWND;
  external 'FindWindowExW@user32.dll stdcall';
function QuorvelWindowProcess(Window: HWND; var ProcessId: Cardinal): Cardinal;
  external 'GetWindowThreadProcessId@user32.dll stdcall';
function QuorvelDialogItem(Dialog: HWND; Id: Integer): Longint;
  external 'GetDlgItem@user32.dll stdcall';

// TMP or TEMP as Setup had it: set again, or removed where it was not set.
procedure QuorvelRestore(const Name, Value: String);
begin
  if Value = '' then
    QuorvelClearEnvironment(Name, 0)
  else
    QuorvelSetEnvironment(Name, Value);
end;

// Starts the plug-in with TMP and TEMP naming Folder and waits: its exit status, 'ended' or 'not started'.
function QuorvelStart(const Arguments, Folder: String): String;
var
  Startup: TQuorvelStartupInfo;
  Started: TQuorvelProcess;
  Exe, Tmp, Temp: String;
  Window: HWND;
  Owner, Code: Cardinal;
begin
  Exe := ExpandConstant('{tmp}\quorvel.exe');
  if not FileExists(Exe) then
    ExtractTemporaryFile('quorvel.exe');
  Tmp := GetEnv('TMP');
  Temp := GetEnv('TEMP');
  QuorvelSetEnvironment('TMP', Folder);
  QuorvelSetEnvironment('TEMP', Folder);
  Startup.Size := 68;  // the rest zero
  Result := 'not started';
  if QuorvelCreateProcess(Exe, '"' + Exe + '" ' + Arguments, 0, 0, 0, 0, 0, 0, Startup, Started) = 0 then
    Started.Process := 0;
  QuorvelRestore('TMP', Tmp);
  QuorvelRestore('TEMP', Temp);
  if Started.Process = 0 then
    Exit;
  QuorvelClose(Started.Thread);
  if QuorvelWait(Started.Process, {#QuorvelLimit}) = 258 then begin  // WAIT_TIMEOUT: an error box nobody clicks
    Window := 0;
    repeat
      Window := QuorvelFindWindow(0, Window, '#32770', 'Plug-in Quorvel');
      Owner := 0;
      QuorvelWindowProcess(Window, Owner);
      if (Window <> 0) and (Owner = Started.ProcessId) then
        PostMessage(Window, $0111, 1, QuorvelDialogItem(Window, 1));  // WM_COMMAND: IDOK clicked
    until Window = 0;
    if QuorvelWait(Started.Process, 5000) = 258 then begin
      QuorvelTerminate(Started.Process, 1);
      QuorvelWait(Started.Process, $FFFFFFFF);
      Result := 'ended';
    end;
  end;
  if Result <> 'ended' then begin
    Code := 0;
    QuorvelExitCode(Started.Process, Code);
    Result := IntToStr(Code);
  end;
  QuorvelClose(Started.Process);
end;

// One run of the plug-in in a new folder of its own: the status, and line 6 after "Return =" in Value.
function QuorvelRun(const Arguments, Section: String; var Value: String): String;
var
  Folder: String;
  Lines: TArrayOfString;
  Tries: Integer;
begin
  Value := '';
  Result := 'no folder';
  for Tries := 1 to 20 do begin  // a new folder: never one that was there before
    QuorvelRuns := QuorvelRuns + 1;
    Folder := ExpandConstant('{tmp}\quorvel-') + IntToStr(QuorvelRuns);
    if CreateDir(Folder) then begin
      Result := QuorvelStart(Arguments, Folder);
      if Result = '0' then begin
        Result := 'no report';  // until the report shows this command's section
        if LoadStringsFromFile(Folder + '\qrvplug.txt', Lines) and (GetArrayLength(Lines) >= 6) and
           (Lines[3] = Section) and (Copy(Lines[5], 1, 8) = 'Return =') then begin
          Value := Copy(Lines[5], 9, Length(Lines[5]));
          Result := '0';
        end;
      end;
      DelTree(Folder, True, True, True);
      Exit;
    end;
  end;
end;

function QuorvelFreeDiskSpace(const Path: String; var Value: String): String;
begin
  Result := QuorvelRun('FreeDiskSpace "' + Path + '"', '[FreeDiskSpace]', Value);
end;

function QuorvelDelete(const Path: String; var Value: String): String;
begin
  Result := QuorvelRun('Delete "' + Path + '"', '[Delete]', Value);
end;

function QuorvelExecute(const Path: String; var Value: String): String;
begin
  Result := QuorvelRun('Execute "' + Path + '"', '[Execute]', Value);
end;
