; Calling Quorvel from an Inno Setup 6 installer: a recipe to copy, with quorvel.iss.
;   built as README.txt says ("Building the recipes"), then run as
;   quorvel-recipe.exe /VERYSILENT /SUPPRESSMSGBOXES [/ALLUSERS] [/OPEN=DOCUMENT] /DIR=FOLDER
; A silent installer that uses the plug-in through quorvel.iss (the piece to include in your own script): the
; free bytes of FOLDER's drive, deleting "FOLDER\old notes.txt" to the recycle bin, opening "FOLDER\readme.txt"
; (or the DOCUMENT given); by default as the user who starts it, with /ALLUSERS as an administrator.
; What it learns goes to quorvel-log.txt beside the installer, a line a task: "WHAT:VALUE" ("opened: shell
; code 42", or "not opened: ..." where the shell answered 32 or less), or "WHAT failed: STATUS".
#include "quorvel.iss"

[Setup]
AppName=Quorvel recipe
AppVersion=1.0
DefaultDirName={localappdata}\quorvel-recipe
PrivilegesRequired=lowest
PrivilegesRequiredOverridesAllowed=commandline
Uninstallable=no
OutputDir=.
OutputBaseFilename=quorvel-recipe

[Code]
procedure RecipeLog(const What, Status, Value: String);
var
  Line: String;
begin
  if Status = '0' then
    Line := What + ':' + Value
  else
    Line := What + ' failed: ' + Status;
  SaveStringToFile(ExpandConstant('{src}\quorvel-log.txt'), Line + #13#10, True);
end;

<event('CurStepChanged')>
procedure RecipeTasks(CurStep: TSetupStep);
var
  Status, Value: String;
begin
  if CurStep <> ssPostInstall then
    Exit;
  DeleteFile(ExpandConstant('{src}\quorvel-log.txt'));
  Status := QuorvelFreeDiskSpace(ExpandConstant('{app}'), Value);  // ' 52837318656': a blank, then the digits
  RecipeLog('free bytes', Status, Value);
  Status := QuorvelDelete(ExpandConstant('{app}\old notes.txt'), Value);  // 'True', or 'False' when the shell refused
  RecipeLog('deleted', Status, Value);
  Status := QuorvelExecute(ExpandConstant('{param:OPEN|{app}\readme.txt}'), Value);
  // Windows promises a code above 32 for a target it opened; 32 or less is the shell's error.
  if Status <> '0' then
    RecipeLog('opened', Status, Value)
  else if StrToIntDef(Trim(Value), 0) > 32 then
    RecipeLog('opened', Status, ' shell code ' + Trim(Value))
  else
    RecipeLog('not opened', Status, ' shell code ' + Trim(Value));
end;
