#include "Failure.h"

namespace qrv {

// Each number as one character before its text, one after another, in ASCII:
// read-only data with no pointer to relocate, where a switch would cost a
// jump table, and a byte a character.
static const char descriptions[] =
    "\x05" "Invalid procedure call or argument\0"
    "\x06" "Overflow\0"
    "\x34" "Bad file name or number\0"
    "\x36" "Bad file mode\0"
    "\x37" "File already open\0"
    "\x39" "Device I/O error\0"
    "\x3A" "File already exists\0"
    "\x3D" "Disk full\0"
    "\x46" "Permission denied\0"
    "\x4B" "Path/File access error\0"
    "\x4C" "Path not found\0"
    "\x01" "Unknown failure";  // the last: what any other number shows

const char* Description(int32_t number) {
    const char* p = descriptions;
    while (*p != number && *p != 1)
        while (*p++) {}
    return p + 1;
}

}  // namespace qrv
