#include "Failure.h"

namespace qrv {

const char16_t* Description(int32_t number) {
    switch (number) {
    case errInvalidArgument: return u"Invalid procedure call or argument";
    case errOverflow: return u"Overflow";
    case errBadFileName: return u"Bad file name or number";
    case errDeviceIO: return u"Device I/O error";
    case errDiskFull: return u"Disk full";
    case errPermissionDenied: return u"Permission denied";
    case errPathFileAccess: return u"Path/File access error";
    case errPathNotFound: return u"Path not found";
    }
    return u"Unknown failure";
}

}  // namespace qrv
