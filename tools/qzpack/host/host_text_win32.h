// Host paths in the narrow code page the ANSI functions open them in, for the
// Win32 file layers. Windows only; the header itself needs no Windows headers.
#pragma once

#include <filesystem>
#include <string>

namespace qz::pack {

// The path in the system's ANSI code page; false when a character has no
// exact form there.
bool HostPathToAnsi(const std::filesystem::path& path, std::string* ansi);

}  // namespace qz::pack
