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

// Writes folder + "qrvplug.txt": "[Plug-in]", "Name = Quorvel", "Version =
// 1.0", the command's section, head5 followed by value5, and "Return ="
// followed by value6, a write a line, each ending in CR LF. The lines go to a
// new file of this run's own beside it, which is then moved over the name:
// whatever stood there (an old report, a link someone planted) is replaced,
// never written through, and a host never reads half a report. Where a run
// is elevated the system's guard against junctions made by others is turned
// on first. A step that fails is the failure returned: the new file is
// removed, and whatever stood at the name stays as it was.
Status WriteReport(Platform& platform, const Str& folder, const char* section, const char* head5, const Str& value5,
                   const Str& value6);

}  // namespace qrv
