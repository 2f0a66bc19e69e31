#include <windows.h>

#include "catalogue/no_throw.h"
#include "ui/main/corvel_app.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    return corvel::NoThrow(1, [] { return corvel::ui::RunCorvel(); });
}
