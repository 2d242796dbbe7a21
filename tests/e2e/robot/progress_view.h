// What the progress page shows a person: where its bar stands in its range
// and what its status line says.
#pragma once

#include <windows.h>

#include <string>

namespace robot {

struct ProgressView {
    int position = -1;  // PBM_GETPOS
    int upper = -1;     // PBM_GETRANGE's upper end
    std::string status;
};

// The view of progress page `page` now (its IDC_PROGRESS and IDC_STATUS).
ProgressView Look(HWND page);

}  // namespace robot
