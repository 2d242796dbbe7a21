// The programs that the finish page offers to start, each behind a check box,
// in the order Finish starts them.
#pragma once

#include <array>
#include <functional>
#include <string>

namespace qz {

struct LaunchRow {
    int checkBoxId;       // the finish page's check box (res/resource.h)
    const char* program;  // relative to the install directory
};

// Toolbar add-on, installed application, browser installer.
extern const std::array<LaunchRow, 3> kLaunchTable;

// A check box state as BM_GETCHECK reports it; only this one starts a program
// (an indeterminate box does not).
constexpr int kCheckBoxTicked = 1;

// Goes through the table in order: reads each row's box with `checkState` and,
// only when it reports kCheckBoxTicked, calls `launch` with `installDir` + the
// row's name before the next row is read. `installDir` ends with a backslash
// and is taken as it stands, whatever its length.
void LaunchTicked(const std::string& installDir,
                  const std::function<int(int checkBoxId)>& checkState,
                  const std::function<void(const std::string& program)>& launch);

}  // namespace qz
