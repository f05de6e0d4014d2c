// Test host. Starts EXE with the exact command line held in LINEFILE (UTF-8, program name included) and the host's
// environment with NAME=VALUE set, presses OK on every box it shows, waits for its end (at most 240 s), and prints what
// a host sees, texts as UTF-8 with control bytes escaped:
//   BOX <caption>|<text>[|an icon][|buttons N,...]   EXIT <code>
//   REPORT <bytes of qrvplug.txt in the temp folder EXE was given, or none>
// or NOSTART <error>, or TIMEOUT where it had to be ended.
//   qrvhost [NAME=VALUE...] EXE LINEFILE
#include "../../tools/check/runner.h"

int wmain(int argc, wchar_t** argv) {
    int i = 1;
    for (; i < argc && wcschr(argv[i], L'='); ++i) _wputenv(argv[i]);  // the C runtime's and the process's
    std::string text;
    if (argc != i + 2 || !runner::Read(argv[i + 1], text)) return 2;
    std::wstring line(text.size() + 1, L'\0');
    line.resize(MultiByteToWideChar(CP_UTF8, 0, text.data(), (int)text.size(), &line[0], (int)line.size()));
    runner::Run run = runner::Start(argv[i], line, nullptr, nullptr, 240000);
    for (const std::string& box : run.boxes) printf("BOX %s\n", box.c_str());
    if (run.notStarted || !run.ended) {
        printf(run.notStarted ? "NOSTART %lu\n" : "TIMEOUT\n", run.notStarted);
        return 1;
    }
    wchar_t temp[MAX_PATH + 1];
    GetTempPathW(MAX_PATH + 1, temp);
    std::string report;
    bool found = runner::Read(std::wstring(temp) + L"qrvplug.txt", report);
    printf("EXIT %lu\nREPORT %s\n", run.exit, found ? runner::Shown(report).c_str() : "none");
    return 0;
}
