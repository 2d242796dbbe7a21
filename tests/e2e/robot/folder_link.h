// A folder link planted in the prefix, as an attacker with write access to a
// folder would plant a junction: a Unix symbolic link to a folder, which Wine
// shows as a folder with FILE_ATTRIBUTE_REPARSE_POINT (Wine makes no reparse
// point of its own: CreateSymbolicLinkA reports success and makes nothing).
#pragma once

#include <string>

namespace robot {

// Makes `link` (which must not exist) a link to the folder `target`, with the
// host's ln run through Wine; ends the scenario when the link does not show
// as a reparse point.
void PlantFolderLink(const std::string& link, const std::string& target);

}  // namespace robot
