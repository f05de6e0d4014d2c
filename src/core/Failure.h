// Failures are raised as exceptions and caught only by the handler in
// Form_Load, which shows the error box and resumes after the failed statement.
#pragma once

#include "Text.h"

namespace qrv {

// Every failure kind the program's own steps raise has its own number.
enum FailureNumber : int32_t {
    errInvalidArgument = 5,    // a negative length, or a text the ANSI code page cannot carry exactly
    errOverflow = 6,           // a value outside its 16-bit or 32-bit signed width, or a free-byte count too large
    errBadFileName = 52,       // the report path is not a valid file name
    errDeviceIO = 57,          // the report file took fewer bytes than were written
    errDiskFull = 61,          // no room left to write the report file
    errPermissionDenied = 70,  // the report file may not be created or written
    errPathFileAccess = 75,    // the report file could not be created for another reason
    errPathNotFound = 76,      // the temp folder does not exist
};

struct Failure {
    int32_t number;
    const char16_t* description;
};

[[noreturn]] void Raise(FailureNumber number);

}  // namespace qrv
