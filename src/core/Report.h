// The report file every command writes for the host, and the number text it
// uses.
#pragma once

#include "Failure.h"
#include "Platform.h"

namespace qrv {

// A blank before zero and positive numbers, a minus sign before negatives.
Str NumberText(int64_t value);
// The decimal digits alone (a minus sign for negatives).
Str PlainDigits(int64_t value);
// True or False, with no blank before it.
Str TruthText(bool value);

// Writes folder + "qrvplug.txt": the three fixed lines, then the command's
// section, line 5 and line 6, each ending in CR LF. A file that fails is the
// failure returned; what was written before it stays.
Status WriteReport(Platform& platform, const Str& folder, const Str& section, const Str& line5,
                   const Str& line6);

}  // namespace qrv
