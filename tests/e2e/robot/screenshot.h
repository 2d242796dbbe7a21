// Screenshots of the (virtual) desktop, saved as PNG files.
#pragma once

#include <string>

namespace robot {

// Saves the whole desktop as <QZ_SCREENSHOT_DIR>\<scenario>-<name>.png.
// Returns false (and records nothing) when no folder is configured.
bool Screenshot(const std::string& name);

// The PNG bytes of a 24-bit top-down RGB image (rows of width*3 bytes),
// stored uncompressed.
std::string EncodePng(int width, int height, const std::string& rgb);

}  // namespace robot
