// Printing a rich edit's page, and the save-file dialog that asks where a file goes. Both are
// the host's to show (platform/host.h); the platform only checks what it is given.
#pragma once

#include <string>

#include "platform/host.h"
#include "platform/win_types.h"

namespace kelmor::platform {

// The chosen file name (GBK), empty when the user cancelled.
std::string GetSaveFileNameA(const SaveFileRequest& request);

// Prints the page of a rich edit under the header its page info gives (EM_SETPAGEINFO): to
// `file` (GBK) as a PDF, or, with an empty `file`, through the system print dialog, which
// proposes `proposed_file` for printing to a file. A window that is no rich edit, or a page
// that names nothing, prints nothing (Cancelled).
PrintResult PrintPage(HWND rich, const std::string& file, const std::string& proposed_file);

}  // namespace kelmor::platform
