// The program's one window: start-up, the argument splitter, keyword dispatch
// and the three command handlers.
#pragma once

#include "basFile.h"

namespace qrv {

class Form1 {
public:
    explicit Form1(Platform& platform) : platform_(platform) {}

    // The whole run: hide the window, split the command line, run at most one
    // command, end the process. Holds the program's only failure handler.
    void Form_Load();

    // Splits the command line's argument text into Args[0..N].
    ArgList GetCommandLine(int32_t MaxArgs = 32767);

    Status FreeDiskSpace(const Text& argument);
    Status Execute(const Text& strPath);
    Status Delete(const ArgList& Args);

private:
    // The failure handler: a failed statement shows the error box, and the
    // run goes on with the next statement.
    void ErrorHandler(Status status);
    // Sets a status field to the text in angle brackets.
    void ShowField(Field field, const Str& text);

    Platform& platform_;
    Str label_;                // the procedure named in the error box
    uint32_t exitStatus_ = 0;  // the first failure's number
};

}  // namespace qrv
