#include "Failure.h"

namespace qrv {

// Each number as one character (in octal) before its text, one after another, in ASCII: read-only data with
// no pointer to relocate, where a switch would cost a jump table, and a byte a character.
static const char descriptions[] =
    "\005Invalid procedure call or argument\0"  // 5
    "\006Overflow\0"                            // 6
    "\064Bad file name or number\0"             // 52
    "\066Bad file mode\0"                       // 54
    "\067File already open\0"                   // 55
    "\071Device I/O error\0"                    // 57
    "\072File already exists\0"                 // 58
    "\075Disk full\0"                           // 61
    "\106Permission denied\0"                   // 70
    "\113Path/File access error\0"              // 75
    "\114Path not found\0"                      // 76
    "\001Unknown failure";                      // the last: what any other number shows

const char* Description(int32_t number) {
    const char* p = descriptions;
    while (*p != number && *p != 1)
        while (*p++) {
        }
    return p + 1;
}

}  // namespace qrv
