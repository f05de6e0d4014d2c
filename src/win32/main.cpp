// Entry point: the window is created, then its load handler does the run.
#include "../core/Form1.h"
#include "Win32Platform.h"

int main() {
    qrv::Form1 form(qrv::Win32Platform());
    form.Form_Load();
    return 0;
}
