// The private temporary folder on a real (Wine) disk.
#include <windows.h>

#include <gtest/gtest.h>

#include <cwchar>
#include <string>

#include "common/private_temp_folder_win32.h"

namespace qz {
namespace {

bool Exists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

TEST(PrivateTempFolder, FreshEachTimeAndRemovedWithWhatItHolds) {
    wchar_t temp[MAX_PATH + 1] = {};
    GetTempPathW(MAX_PATH + 1, temp);
    std::wstring first;
    {
        PrivateTempFolder a;
        PrivateTempFolder b;
        ASSERT_TRUE(a.Create());
        ASSERT_TRUE(b.Create());
        EXPECT_NE(a.path(), b.path());
        EXPECT_EQ(a.path().compare(0, wcslen(temp), temp), 0);
        EXPECT_EQ(a.path().size(), wcslen(temp) + 2 + 16 + 1);
        first = a.path();
        ASSERT_TRUE(CreateDirectoryW((first + L"sub").c_str(), nullptr));
        const std::wstring file = first + L"sub\\f.bin";
        CloseHandle(CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                FILE_ATTRIBUTE_READONLY, nullptr));
        ASSERT_TRUE(Exists(file));
    }
    EXPECT_FALSE(Exists(first));
}

}  // namespace
}  // namespace qz
