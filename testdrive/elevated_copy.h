// The hidden elevated copy of Fennick: with UAC the letter the user's
// session gets is invisible to elevated programs, so an elevated copy maps
// it in their session too.
#pragma once

#include <windows.h>

#include "testdrive/testdrive_rules.h"

namespace corvel::testdrive {

// Starts the elevated copy for request and waits for its answer. Needed only
// when Fennick runs with the limited half of an administrator's split token;
// other tokens share one session with the elevated programs they start.
ElevatedCopy MirrorForElevated(HWND owner, const HiddenRequest& request);

// The hidden copy's work: the exit code of Fennick started with request.
unsigned long RunHiddenRequest(const HiddenRequest& request);

}  // namespace corvel::testdrive
