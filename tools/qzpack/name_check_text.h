// Why a package name was refused, in words for the terminal.
#pragma once

#include "engine/entry_rules.h"

namespace qz::pack {

const char* NameCheckText(NameCheck check);

}  // namespace qz::pack
