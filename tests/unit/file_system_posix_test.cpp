#include "common/file_system_posix.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/resource.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "support/extraction_run.h"
#include "support/package_bytes.h"

namespace qz::test {
namespace {

namespace fsys = std::filesystem;

TEST(PosixFileSystem, MapsGbkPathsUnderTheRoot) {
    struct Case {
        std::string gbk;
        bool ok;
        std::string host;
    };
    const Case cases[] = {
        {"C:\\Program Files\\Q\\a.txt", true, "r/Program Files/Q/a.txt"},
        {"d:\\x\\", true, "r/x/"},
        {"a\\b", true, "r/a/b"},
        {"\\\\a", true, "r/a"},
        {"C:\\", true, "r"},
        {"", true, "r"},
        // 乗 = 81 5C, 嘰 = 87 5C: converted first, so their 5C stays inside the character.
        {"\x81\x5c\\\x87\x5c", true, "r/\xe4\xb9\x97/\xe5\x98\xb0"},
        {"\xd6\xd0\xce\xc4.txt", true, "r/\xe4\xb8\xad\xe6\x96\x87.txt"},  // 中文.txt
        {"..\\x", false, ""},
        {"C:\\a\\..\\b", false, ""},
        {"a\\..", false, ""},
        {"a\x81", false, ""},  // a lead byte alone is not GBK
    };
    PosixFileSystem fs("r");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.gbk);
        std::string host;
        EXPECT_EQ(fs.MapPath(c.gbk, &host), c.ok);
        if (c.ok) {
            EXPECT_EQ(host, c.host);
        }
    }
}

// A fresh folder under the system's temporary directory, removed afterwards.
class TempDir {
  public:
    TempDir() {
        std::string pattern = (fsys::temp_directory_path() / "qz-fs-XXXXXX").string();
        path_ = mkdtemp(&pattern[0]);
    }
    ~TempDir() { fsys::remove_all(path_); }
    const std::string& path() const { return path_; }

  private:
    std::string path_;
};

std::string ReadAll(ReadStream& s) {
    std::string out;
    char buf[7];
    for (std::int64_t n; (n = s.Read(buf, sizeof buf)) > 0;) {
        out.append(buf, static_cast<std::size_t>(n));
    }
    return out;
}

TEST(PosixFileSystem, CreatesWritesReadsAndTruncates) {
    TempDir tmp;
    PosixFileSystem fs(tmp.path());
    const std::string dir = "C:\\\x81\x5c\\";  // C:\乗\ (81 5C)
    EXPECT_TRUE(fs.CreateDirectory(dir));
    EXPECT_FALSE(fs.CreateDirectory(dir));               // exists
    EXPECT_FALSE(fs.CreateDirectory("C:\\no\\such\\"));  // parent missing
    EXPECT_TRUE(fsys::is_directory(tmp.path() + "/\xe4\xb9\x97"));

    const std::string file = dir + "\xd6\xd0\xce\xc4.txt";  // 中文.txt
    auto w = fs.CreateWrite(file);
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(fs.CreateWrite(file), nullptr);  // open without sharing
    EXPECT_TRUE(w->Write("hello, world", 12));
    EXPECT_TRUE(w->Close());
    EXPECT_TRUE(w->Close());

    auto r = fs.OpenRead(file);
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(ReadAll(*r), "hello, world");
    r.reset();

    auto again = fs.CreateWrite(file);
    ASSERT_NE(again, nullptr);
    EXPECT_TRUE(again->Write("hi", 2));
    again.reset();  // closed by the destructor
    std::ifstream in(tmp.path() + "/\xe4\xb9\x97/\xe4\xb8\xad\xe6\x96\x87.txt", std::ios::binary);
    std::stringstream contents;
    contents << in.rdbuf();
    EXPECT_EQ(contents.str(), "hi");

    EXPECT_EQ(fs.OpenRead("missing.txt"), nullptr);
    EXPECT_EQ(fs.OpenRead(dir), nullptr);                   // a directory
    EXPECT_EQ(fs.CreateWrite("C:\\no\\such\\f"), nullptr);  // parent missing
    EXPECT_EQ(fs.CreateWrite("..\\escape.txt"), nullptr);
    EXPECT_FALSE(fsys::exists(fsys::path(tmp.path()).parent_path() / "escape.txt"));
}

// A device is no file to write: the full-disk device is refused at once.
// A write the system refuses (here one past the file-size limit) is a failed
// write.
TEST(PosixFileSystem, DevicesAreRefusedAndAFailedWriteIsReported) {
    if (fsys::exists("/dev/full")) {
        PosixFileSystem dev("/dev");
        EXPECT_EQ(dev.CreateWrite("full"), nullptr);
    }
    TempDir tmp;
    PosixFileSystem fs(tmp.path());
    auto w = fs.CreateWrite("big.bin");
    ASSERT_NE(w, nullptr);
    rlimit old_limit{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old_limit), 0);
    rlimit small = old_limit;
    small.rlim_cur = 4;
    const auto old_handler = signal(SIGXFSZ, SIG_IGN);  // EFBIG instead of the signal
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool wrote = w->Write("too long", 8);
    setrlimit(RLIMIT_FSIZE, &old_limit);
    signal(SIGXFSZ, old_handler);
    EXPECT_FALSE(wrote);
}

TEST(PosixFileSystem, ExtractionLandsUnderTheRoot) {
    TempDir tmp;
    PosixFileSystem fs(tmp.path());
    ExtractionRun run("C:\\Program Files\\Q\\");
    run.job.fs = &fs;
    // 乗\a.txt (81 5C) and sub\嘰.bin (87 5C)
    run.SetPackage(PackageBytes({{"\x81\x5c\\a.txt", "abc"}, {"sub\\\x87\x5c.bin", "xy"}}));
    EXPECT_EQ(run.Run(), kExtractOk);
    const std::string q = tmp.path() + "/Program Files/Q/";
    std::ifstream a(q + "\xe4\xb9\x97/a.txt", std::ios::binary);
    std::ifstream b(q + "sub/\xe5\x98\xb0.bin", std::ios::binary);
    std::ifstream log(q + "install.log", std::ios::binary);
    std::stringstream all;
    all << a.rdbuf() << '|' << b.rdbuf() << '|' << log.rdbuf();
    EXPECT_EQ(all.str(), "abc|xy|[FILE] \x81\x5c\\a.txt\r\n[FILE] sub\\\x87\x5c.bin\r\n");
}

}  // namespace
}  // namespace qz::test
