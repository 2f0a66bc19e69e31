#include <windows.h>

#include "corvel_app.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    return corvel::ui::RunCorvel();
}
