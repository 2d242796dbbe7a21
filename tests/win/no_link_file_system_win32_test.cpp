// The file layer that reaches nothing through a link below its root, on a real
// (Wine) disk with folder links planted as an attacker would plant them.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "common/ansi_code_page.h"
#include "common/directory_chain.h"
#include "common/no_link_file_system_win32.h"
#include "common/private_temp_folder_win32.h"
#include "support/folder_link_win32.h"

namespace qz {
namespace {

bool Exists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// A fresh folder of its own under the temporary folder, as a GBK path.
std::string Scratch(const PrivateTempFolder& folder) {
    char narrow[MAX_PATH] = {};
    WideCharToMultiByte(CP_ACP, 0, folder.path().c_str(), -1, narrow, MAX_PATH, nullptr, nullptr);
    return narrow;
}

// Writes one file through the layer rooted at `root`, its folders made as the
// extraction makes them.
bool WriteThrough(const std::string& root, const std::string& name) {
    NoLinkFileSystem fs(root, IsAnsiLeadByte);
    CreateDirectoryChain(root + name, fs, IsAnsiLeadByte);
    auto out = fs.CreateWrite(root + name);
    return out && out->Write("x", 1) && out->Close();
}

TEST(NoLinkFileSystem, RefusesALinkAtOrBelowTheRootAndPassesOneAbove) {
    struct Row {
        const char* what;
        const char* link;  // planted below base, pointing at base + "target"
        const char* root;  // the layer's root below base
        const char* name;  // written below the root
        bool written;
    };
    const Row rows[] = {
        {"no link", nullptr, "plain\\", "data\\x.txt", true},
        {"a link as a level below the root", "inst1\\data", "inst1\\", "data\\x.txt", false},
        {"a link two levels down", "inst2\\a\\b", "inst2\\", "a\\b\\c\\x.txt", false},
        {"a link as the root", "inst3", "inst3\\", "x.txt", false},
        {"a link above the root", "above", "above\\inst\\", "data\\x.txt", true},
        // A folder and a file whose names end in 乗 (81 5C): the trail byte is
        // no separator.
        {"names ending in a trail byte 5C", nullptr, "gbk\\",
         "a\x81\x5C"
         "\\b\x81\x5C",
         true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        PrivateTempFolder folder;
        ASSERT_TRUE(folder.Create());
        const std::string base = Scratch(folder);
        const std::string target = base + "target\\";
        ASSERT_TRUE(CreateDirectoryA(target.c_str(), nullptr));
        if (row.link != nullptr) {
            const std::string link = base + row.link;
            CreateDirectoryChain(link);
            ASSERT_TRUE(test::PlantFolderLink(link, base + "target"));
        }
        const std::string root = base + row.root;
        EXPECT_EQ(WriteThrough(root, row.name), row.written);
        if (!row.written) {
            EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CANT_RESOLVE_FILENAME));
            // Nothing was made behind the link.
            WIN32_FIND_DATAA found;
            const HANDLE search = FindFirstFileA((target + "*").c_str(), &found);
            int entries = 0;
            if (search != INVALID_HANDLE_VALUE) {
                do {
                    entries += found.cFileName[0] != '.';
                } while (FindNextFileA(search, &found));
                FindClose(search);
            }
            EXPECT_EQ(entries, 0);
        } else {
            EXPECT_TRUE(Exists(root + row.name));
        }
    }
}

TEST(NoLinkFileSystem, HoldsTheLevelsAboveAnOpenFile) {
    PrivateTempFolder folder;
    ASSERT_TRUE(folder.Create());
    const std::string root = Scratch(folder) + "inst\\";
    {
        NoLinkFileSystem fs(root, IsAnsiLeadByte);
        CreateDirectoryChain(root + "a\\b\\f.txt", fs, IsAnsiLeadByte);
        auto out = fs.CreateWrite(root + "a\\b\\f.txt");
        ASSERT_NE(out, nullptr);
        // Neither the root nor a level between it and the file can be renamed
        // (to put a link in its place) while the file is open.
        EXPECT_FALSE(MoveFileA((root + "a\\b").c_str(), (root + "a\\c").c_str()));
        EXPECT_FALSE(MoveFileA((root + "a").c_str(), (root + "z").c_str()));
        EXPECT_FALSE(MoveFileA(root.substr(0, root.size() - 1).c_str(),
                               (Scratch(folder) + "moved").c_str()));
        EXPECT_TRUE(out->Close());
        // A path outside the root is refused.
        EXPECT_EQ(fs.CreateWrite(Scratch(folder) + "outside.txt"), nullptr);
    }
    // Released with the layer.
    EXPECT_TRUE(MoveFileA((root + "a\\b").c_str(), (root + "a\\c").c_str()));
}

}  // namespace
}  // namespace qz
