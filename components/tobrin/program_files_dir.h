// The registry values that installers take their proposed folder from,
// pointed at the chosen folder while an installer runs. Their originals are
// kept in the registry, not in this process, so that a run that is killed,
// crashes or loses power is mended by the next one.
#pragma once

#include <string>

namespace corvel::tobrin {

// Keeps each value's original beside it, then points the value at folder,
// in the 64-bit and the 32-bit registry view. A value whose original could
// not be kept is left unchanged; a missing or empty one is changed and never
// put back, except that a missing "ProgramFilesDir (x86)" is never created. Failed writes are ignored:
// without the right to write HKLM, installers simply propose their usual
// folder.
void PointFolderValuesAt(const std::wstring& folder);

// Writes every kept original back and forgets it; a value with nothing kept
// is left as it is. Called when the dialog ends, and when Tobrin is loaded
// or its dialog opens, for what a run that died left behind.
void PutBackFolderValues();

}  // namespace corvel::tobrin
