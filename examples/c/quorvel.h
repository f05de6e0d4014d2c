/* Calling Quorvel from a C program: the one function to copy (quorvel.c).
 *
 * QuorvelRun starts quorvel.exe (beside your program) with the arguments
 * given, every path already quoted (L"Delete \"C:\\old notes.txt\""), in a
 * temp folder made for this run alone, and reads the report there. It returns
 * the plug-in's exit status (0, or the failure's number: see the host authors'
 * guide), or one of the values below; on 0, value holds line 6 after
 * "Return =" (" 52837318656", "True", " 42"). section is the command's line 4
 * ("[FreeDiskSpace]", "[Execute]", "[Delete]"). It waits QUORVEL_LIMIT_MS,
 * then presses OK on the plug-in's own error box, or ends the run.
 */
#ifndef QUORVEL_H
#define QUORVEL_H

#include <wchar.h>

#define QUORVEL_LIMIT_MS 10000 /* a run takes well under a second; allow for your longest Delete */
#define QUORVEL_NOT_STARTED -1 /* the plug-in could not be started */
#define QUORVEL_ENDED -2       /* it was still running after the limit and was ended */
#define QUORVEL_NO_REPORT -3   /* it ended with 0 but left no report of this command */
#define QUORVEL_NO_FOLDER -4   /* no folder of its own could be made in the temp folder */

int QuorvelRun(const wchar_t* arguments, const char* section, wchar_t* value, int size);

#endif
