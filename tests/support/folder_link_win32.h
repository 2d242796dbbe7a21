// Planting a folder link as an attacker would, for the tests under Wine: a
// Unix symbolic link to a folder, which a Windows program there sees as a
// folder that is a reparse point (Wine 8 makes no junction). Windows (Wine)
// only.
#pragma once

#include <string>

namespace qz::test {

// Makes `link` (a path in the ANSI code page, not there yet) a link to the
// folder `target`, with the host's `ln`. True when it then reads as a
// reparse point; false where the program does not run under Wine.
bool PlantFolderLink(const std::string& link, const std::string& target);

}  // namespace qz::test
