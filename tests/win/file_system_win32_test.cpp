// The Win32 file layer with GBK names, on a real (Wine) disk with code page 936.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <vector>

#include "common/directory_chain.h"
#include "common/file_system_win32.h"
#include "common/sha256_win32.h"
#include "engine/extractor.h"
#include "engine/pinned_package_win32.h"
#include "support/package_bytes.h"

namespace qz {
namespace {

// GBK bytes of the names used here, and the same names in UTF-16.
const std::string kJou = "\x81\x5c";               // 乗: trail byte 5C
const std::string kKi = "\x87\x5c";                // 嘰: trail byte 5C
const std::string kZhongwen = "\xd6\xd0\xce\xc4";  // 中文
const std::wstring kJouW = L"\u4e57";
const std::wstring kKiW = L"\u5630";
const std::wstring kZhongwenW = L"\u4e2d\u6587";

// A fresh folder in the temporary directory (GBK path ending with a backslash),
// removed with everything in it afterwards.
class TempFolder {
  public:
    TempFolder() {
        char temp[MAX_PATH] = {};
        GetTempPathA(MAX_PATH, temp);
        path_ = std::string(temp) + "qzfs" + std::to_string(GetCurrentProcessId()) + "\\";
        CreateDirectoryA(path_.c_str(), nullptr);
    }
    ~TempFolder() { RemoveTree(path_); }
    const std::string& path() const { return path_; }

  private:
    static void RemoveTree(const std::string& dir) {
        WIN32_FIND_DATAA found;
        HANDLE h = FindFirstFileA((dir + "*").c_str(), &found);
        if (h != INVALID_HANDLE_VALUE) {
            do {
                const std::string name = found.cFileName;
                if (name == "." || name == "..") {
                    continue;
                }
                if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                    RemoveTree(dir + name + "\\");
                } else {
                    DeleteFileA((dir + name).c_str());
                }
            } while (FindNextFileA(h, &found));
            FindClose(h);
        }
        RemoveDirectoryA(dir.c_str());
    }
    std::string path_;
};

std::wstring Wide(const std::string& gbk) {
    const int n = MultiByteToWideChar(936, 0, gbk.data(), static_cast<int>(gbk.size()), nullptr, 0);
    std::wstring out(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(936, 0, gbk.data(), static_cast<int>(gbk.size()), &out[0], n);
    return out;
}

bool IsDirectoryW(const std::wstring& path) {
    const DWORD a = GetFileAttributesW(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

// The names in a folder (UTF-16), "." and ".." left out.
std::vector<std::wstring> ListW(const std::wstring& dir) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found;
    HANDLE h = FindFirstFileW((dir + L"*").c_str(), &found);
    if (h == INVALID_HANDLE_VALUE) {
        return names;
    }
    do {
        const std::wstring name = found.cFileName;
        if (name != L"." && name != L"..") {
            names.push_back(name);
        }
    } while (FindNextFileW(h, &found));
    FindClose(h);
    return names;
}

std::string ReadAll(FileSystem& fs, const std::string& path) {
    auto r = fs.OpenRead(path);
    if (!r) {
        return "<cannot open>";
    }
    std::string out;
    char buf[5];
    for (std::int64_t n; (n = r->Read(buf, sizeof buf)) > 0;) {
        out.append(buf, static_cast<std::size_t>(n));
    }
    return out;
}

TEST(Win32FileSystem, AnsiCodePageIsGbk) {
    ASSERT_EQ(GetACP(), 936u);
}

TEST(Win32FileSystem, DirectoryChainWithTrailByte5C) {
    TempFolder tmp;
    // 乗\嘰\中文\f.txt: three levels, none split at a 5C trail byte.
    CreateDirectoryChain(tmp.path() + kJou + "\\" + kKi + "\\" + kZhongwen + "\\f.txt");
    const std::wstring base = Wide(tmp.path());
    EXPECT_TRUE(IsDirectoryW(base + kJouW));
    EXPECT_TRUE(IsDirectoryW(base + kJouW + L"\\" + kKiW));
    EXPECT_TRUE(IsDirectoryW(base + kJouW + L"\\" + kKiW + L"\\" + kZhongwenW));
    EXPECT_EQ(
        GetFileAttributesW((base + kJouW + L"\\" + kKiW + L"\\" + kZhongwenW + L"\\f.txt").c_str()),
        INVALID_FILE_ATTRIBUTES);
    // The folder holds 乗 alone: no level was cut at its 5C trail byte.
    EXPECT_EQ(ListW(base), std::vector<std::wstring>{kJouW});
}

TEST(Win32FileSystem, WriteReadTruncateAndRefusals) {
    TempFolder tmp;
    Win32FileSystem fs;
    const std::string dir = tmp.path() + kZhongwen + "\\";
    EXPECT_TRUE(fs.CreateDirectory(dir));
    EXPECT_FALSE(fs.CreateDirectory(dir));                             // exists
    EXPECT_FALSE(fs.CreateDirectory(tmp.path() + "no\\such\\dir\\"));  // parent missing

    const std::string file = dir + kJou + kKi + ".bin";  // 中文\乗嘰.bin
    auto w = fs.CreateWrite(file);
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(fs.OpenRead(file), nullptr);  // opened without sharing
    const std::string data("line 1\r\n\0\x81\x5c", 11);
    EXPECT_TRUE(w->Write(data.data(), data.size()));
    EXPECT_TRUE(w->Close());
    EXPECT_TRUE(w->Close());
    EXPECT_FALSE(w->Write("x", 1));
    EXPECT_TRUE(IsDirectoryW(Wide(tmp.path()) + kZhongwenW));
    EXPECT_NE(GetFileAttributesW((Wide(dir) + kJouW + kKiW + L".bin").c_str()),
              INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(ReadAll(fs, file), data);

    {
        auto again = fs.CreateWrite(file);  // truncates; closed by its destructor
        ASSERT_NE(again, nullptr);
        EXPECT_TRUE(again->Write("new", 3));
    }
    EXPECT_EQ(ReadAll(fs, file), "new");

    EXPECT_EQ(fs.OpenRead(dir + "missing.txt"), nullptr);
    EXPECT_EQ(fs.CreateWrite(tmp.path() + "no\\such\\f.txt"), nullptr);
    EXPECT_EQ(fs.CreateWrite(tmp.path() + kZhongwen), nullptr);              // a directory
    EXPECT_EQ(fs.CreateWrite(tmp.path() + std::string(300, 'x')), nullptr);  // past MAX_PATH
}

// ExtractPackage on the real disk: GBK names with 5C trail bytes, the log, and
// an output file that cannot be created because it is in use.
class NullUi : public ExtractionUi {
  public:
    bool ProductIsRunning() override { return false; }
    bool AskRunningCopy() override { return false; }
    void ShowMessage(const char* text) override { messages.push_back(text); }
    void SetRange(std::int32_t) override {}
    void SetPosition(std::int32_t) override {}
    void SetStatus(const std::string&) override {}
    std::vector<std::string> messages;
};

TEST(Win32FileSystem, ExtractionWithGbkNames) {
    TempFolder tmp;
    Win32FileSystem fs;
    const std::string name1 = kJou + "\\a.txt";        // 乗\a.txt
    const std::string name2 = kZhongwen + "\\" + kKi;  // 中文\嘰
    // Header "QZ" version 1 with two records (sizes 3 and 2), then abc and de.
    const std::string package = test::PackageBytes({{name1, "abc"}, {name2, "de"}});
    {
        auto w = fs.CreateWrite(tmp.path() + "data.dat");
        ASSERT_TRUE(w && w->Write(package.data(), package.size()) && w->Close());
    }
    const std::string install = tmp.path() + "Q\\";
    auto run = [&](NullUi& ui) {
        std::vector<std::unique_ptr<PackageEntry>> entries;
        std::atomic<int> state{kStateNotStarted};
        ExtractJob job;
        job.install_dir = install;
        job.fs = &fs;
        job.ui = &ui;
        job.open_package = [&]() { return fs.OpenRead(tmp.path() + "data.dat"); };
        job.entries = &entries;
        job.state = &state;
        return RunInstallWorker(job);
    };
    NullUi ui;
    ASSERT_EQ(run(ui), kExtractOk);
    EXPECT_EQ(ReadAll(fs, install + name1), "abc");
    EXPECT_EQ(ReadAll(fs, install + name2), "de");
    EXPECT_TRUE(IsDirectoryW(Wide(install) + kJouW));
    EXPECT_EQ(ReadAll(fs, install + "install.log"),
              "[FILE] " + name1 + "\r\n[FILE] " + name2 + "\r\n");

    // The second file held open elsewhere without sharing: a create failure.
    auto held = fs.OpenRead(install + name2);
    ASSERT_NE(held, nullptr);
    NullUi again;
    EXPECT_EQ(run(again), kExtractCreateFailed);
    ASSERT_EQ(again.messages.size(), 1u);
    held.reset();
    EXPECT_EQ(ReadAll(fs, install + "install.log"),
              "[FILE] " + name1 + "\r\n[FILE] " + name2 + "\r\n");
}

// The names in the temporary folder.
std::vector<std::wstring> TempEntries() {
    wchar_t temp[MAX_PATH + 1] = {};
    GetTempPathW(MAX_PATH + 1, temp);
    return ListW(temp);
}

// A pinned program's package: read once, copied while hashed, and on a match
// handed over as that copy from its first byte, whatever the file holds by
// then; refused packages read as empty; nothing stays in the temporary folder.
TEST(Win32FileSystem, PinnedPackageDeliversTheBytesItHashed) {
    TempFolder dir;
    const std::string pinned = qz::test::PackageBytes({{"a.txt", "abc"}, {"b.txt", "defgh"}});
    PackagePin pin;
    pin.size = pinned.size();
    const std::unique_ptr<Sha256> hash = CreateSystemSha256();
    ASSERT_NE(hash, nullptr);
    ASSERT_TRUE(hash->Add(pinned.data(), pinned.size()));
    ASSERT_TRUE(hash->Finish(&pin.digest));

    std::string changed = pinned;
    changed.back() ^= 0x20;  // the last data byte: 'h' becomes 'H'
    const struct {
        const char* what;
        const char* file;  // null: no file at all; "NUL": a device
        std::string bytes;
        PinnedOpen status;
        std::string delivered;  // what the reader then gets
    } cases[] = {
        {"the pinned package", "pinned.dat", pinned, PinnedOpen::kOpened, pinned},
        {"one data byte changed", "changed.dat", changed, PinnedOpen::kOpened, ""},
        {"bytes appended", "longer.dat", pinned + "tail", PinnedOpen::kOpened, ""},
        {"another package", "other.dat", qz::test::PackageBytes({{"a.txt", "abc"}}),
         PinnedOpen::kOpened, ""},
        {"a device, no disk file", "NUL", "", PinnedOpen::kOpened, ""},
        {"no file", nullptr, "", PinnedOpen::kNotOpened, ""},
    };
    const std::vector<std::wstring> before = TempEntries();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const bool device = c.file != nullptr && std::string(c.file) == "NUL";
        const std::string path =
            device ? "NUL" : dir.path() + (c.file != nullptr ? c.file : "missing.dat");
        Win32FileSystem fs;
        if (c.file != nullptr && !device) {
            auto out = fs.CreateWrite(path);
            ASSERT_TRUE(out && out->Write(c.bytes.data(), c.bytes.size()) && out->Close());
        }
        PinnedOpen status = PinnedOpen::kCopyFailed;
        std::unique_ptr<ReadStream> package = OpenPinnedPackage(path.c_str(), pin, &status);
        EXPECT_EQ(status, c.status);
        ASSERT_EQ(package != nullptr, c.status == PinnedOpen::kOpened);
        if (!package) {
            EXPECT_EQ(TempEntries(), before);
            continue;
        }
        if (!c.delivered.empty()) {
            // The source changes after the check: the extraction still reads
            // the bytes that were hashed.
            auto out = fs.CreateWrite(path);
            ASSERT_TRUE(out && out->Write(changed.data(), changed.size()) && out->Close());
        }
        std::string delivered;
        char buffer[7];
        for (std::int64_t got; (got = package->Read(buffer, sizeof buffer)) > 0;) {
            delivered.append(buffer, static_cast<std::size_t>(got));
        }
        EXPECT_EQ(delivered, c.delivered);
        package.reset();
        EXPECT_EQ(TempEntries(), before);
    }
}

}  // namespace
}  // namespace qz
