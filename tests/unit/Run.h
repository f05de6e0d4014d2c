// Runs the whole program against a fake platform, as the host would start it.
#pragma once

#include "FakePlatform.h"
#include "Failure.h"
#include "Form1.h"
#include "MFreeSpace.h"
#include "Report.h"

namespace qrv {

inline void RunProgram(FakePlatform& fake, const std::string& commandLine) {
    fake.commandLine = U16(commandLine);
    Form1 form(fake);
    form.Form_Load();
}

inline std::string ErrorBoxText(int number, const std::string& description) {
    std::string digits = std::to_string(number);
    return "Error in Form_Load()\rErr code " + (number < 0 ? digits : " " + digits) + "\r\r" + description;
}

inline std::string ReportOf(const std::string& section, const std::string& line5, const std::string& line6) {
    return "[Plug-in]\r\nName = Quorvel\r\nVersion = 1.0\r\n" + section + "\r\n" + line5 + "\r\n" + line6 + "\r\n";
}

}  // namespace qrv
