#include <windows.h>

#include "corvel_app.h"
#include "no_throw.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    return corvel::NoThrow(1, [] { return corvel::ui::RunCorvel(); });
}
