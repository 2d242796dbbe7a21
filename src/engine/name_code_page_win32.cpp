#include <windows.h>

#include <vector>

#include "common/ansi_code_page.h"
#include "common/constants.h"
#include "engine/name_code_page.h"

namespace qz {
namespace {

// The value of a character the code page cannot convert: above every wide
// character, so that it equals nothing but itself.
constexpr std::uint32_t kUnconverted = 0x10000;

// Every character of the ANSI code page (indexed by its byte, or by
// lead << 8 | trail) with the upper-case wide character Windows compares it as.
class AnsiFoldTable {
  public:
    AnsiFoldTable() : m_values(0x10000) {
        for (std::uint32_t c = 0; c < m_values.size(); ++c) {
            m_values[c] = kUnconverted | c;
            const auto lead = static_cast<unsigned char>(c < 0x100 ? c : c >> 8);
            const bool pair = c >= 0x100;
            if (IsAnsiLeadByte(lead) != pair || (pair && (c & 0xFF) == 0)) {
                continue;
            }
            const char bytes[2] = {static_cast<char>(lead), static_cast<char>(c & 0xFF)};
            wchar_t wide[2] = {};
            const int count = pair ? 2 : 1;
            if (::MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, bytes, count, wide, 2) == 1) {
                ::CharUpperBuffW(wide, 1);
                m_values[c] = wide[0];
            }
        }
    }

    std::uint32_t operator[](NameCharacter c) const {
        return c < m_values.size() ? m_values[c] : kUnconverted | c;
    }

  private:
    std::vector<std::uint32_t> m_values;
};

std::uint32_t FoldAnsi(NameCharacter c) {
    static const AnsiFoldTable table;
    return table[c];
}

}  // namespace

NameCodePage AnsiNameCodePage() {
    if (::GetACP() == kGbkCodePage) {
        return kGbkNames;
    }
    FoldAnsi(0);  // the table is built here, not in the middle of a check
    return {IsAnsiLeadByte, IsAnyCharacter, FoldAnsi};
}

}  // namespace qz
