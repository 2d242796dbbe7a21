#include <windows.h>

#include "qzpack/host/extract_target.h"

#include <system_error>

#include "common/constants.h"
#include "common/install_path_rules.h"
#include "qzpack/host/host_text.h"
#include "qzpack/host/host_text_win32.h"
#include "qzpack/host/no_link_file_system_win32.h"

namespace qz::pack {

bool MakeExtractTarget(const std::filesystem::path& folder, ExtractTarget* target,
                       std::string* error) {
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    std::filesystem::path absolute = std::filesystem::absolute(folder, ec);
    absolute.make_preferred();
    if (ec || !std::filesystem::is_directory(absolute, ec)) {
        *error = PathForDisplay(folder) + ": cannot be made a folder";
        return false;
    }
    std::string ansi;
    if (!HostPathToAnsi(absolute, &ansi)) {
        const UINT code_page = ::GetACP();
        *error = PathForDisplay(folder) + ": the path cannot be represented in " +
                 (code_page == kGbkCodePage ? std::string("GBK")
                                            : "code page " + std::to_string(code_page));
        return false;
    }
    target->install_dir = WithTrailingSeparator(ansi);
    target->longest_path = kMaxPath - 1;
    target->names = AnsiNameCodePage();
    target->fs = std::make_unique<NoLinkFileSystem>(target->install_dir, target->names.is_lead);
    return true;
}

}  // namespace qz::pack
