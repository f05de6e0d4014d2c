// Failures travel as values. A function that can fail returns a Status (or
// takes its result through an out-parameter and returns a Status), and its
// caller passes a failure on in one visible line:
//     if (Status s = GetTempDir(platform, folder)) return s;
// The one handler, in Form_Load, shows the error box and goes on with the
// next statement. A local that such a call fills is value-initialised ({}):
// it is read only after the call succeeded.
#pragma once

#include <cstdint>

namespace qrv {

// Every failure kind the program's own steps raise has its own number.
enum FailureNumber : int32_t {
    errInvalidArgument = 5,    // a negative length, a control character in a name, a target not made full
    errOverflow = 6,           // a value outside its 16-bit or 32-bit signed width, or a free-byte count too large
    errBadFileName = 52,       // the report path is not a valid file name
    errBadFileMode = 54,       // the report's new file is not a plain file of one link
    errFileAlreadyOpen = 55,   // the old report is held open without sharing delete
    errDeviceIO = 57,          // the report file took fewer bytes than were written
    errFileExists = 58,        // every name tried for the report's new file was taken
    errDiskFull = 61,          // no room left to write the report file
    errPermissionDenied = 70,  // the report file may not be created or written
    errPathFileAccess = 75,    // a folder stands at the report's name, or another reason
    errPathNotFound = 76,      // the temp folder does not exist
};

// No failure (number 0), or the failure met.
struct [[nodiscard]] Status {
    constexpr Status() = default;
    constexpr Status(FailureNumber failure) : number(failure) {}
    explicit operator bool() const { return number != 0; }
    int32_t number = 0;
};

// The text the error box shows for a failure, in ASCII.
const char* Description(int32_t number);

}  // namespace qrv
