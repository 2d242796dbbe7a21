#include "common/file_system_posix.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "qzpack/host/host_file.h"
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

// The whole file, or "<missing>".
std::string FileAt(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return "<missing>";
    }
    std::stringstream contents;
    contents << in.rdbuf();
    return contents.str();
}

// The package read three ways: from memory (read and write, as on Windows),
// from a file as qzpack extract reads it (its directory through a buffer,
// then the data copied by the kernel) and through a FIFO as qzpack reads it
// (the kernel refuses a pipe: read and write). Whole or cut inside an entry's
// data, every way gives the same result, progress steps and bytes on disk.
TEST(PosixFileSystem, KernelCopyExtractsAsReadAndWriteDo) {
    enum class Source { kMemory, kFile, kFifo };
    std::string big(100000, '\0');
    for (std::size_t i = 0; i < big.size(); ++i) {
        big[i] = static_cast<char>(i * 13 + i / 509);
    }
    const std::vector<TestFile> files = {{"a.txt", "abc"}, {"d\\big.bin", big}, {"z.txt", "z"}};
    const std::string full = PackageBytes(files);
    const std::size_t big_at = 28 + 3 * 264 + 3;  // the big entry's first data byte
    struct Case {
        const char* what;
        std::size_t length;  // of the package given
        int result;
    };
    const Case cases[] = {
        {"whole", full.size(), kExtractOk},
        {"cut at a piece's end", big_at + 30720, kExtractTruncated},
        {"cut inside a piece", big_at + 45000, kExtractTruncated},
        {"cut inside the directory's last record", 28 + 3 * 264 - 1, kExtractBadPackage},
        {"one byte short", full.size() - 1, kExtractTruncated},
    };
    const auto old_pipe_handler = signal(SIGPIPE, SIG_IGN);
    for (const Case& c : cases) {
        const std::string bytes = full.substr(0, c.length);
        std::vector<std::int32_t> memory_positions;
        for (const Source source : {Source::kMemory, Source::kFile, Source::kFifo}) {
            SCOPED_TRACE(std::string(c.what) + ", source " +
                         std::to_string(static_cast<int>(source)));
            TempDir tmp;
            const std::string package = tmp.path() + "/p.dat";
            PosixFileSystem fs(tmp.path() + "/t");
            ASSERT_TRUE(fsys::create_directory(tmp.path() + "/t"));
            ExtractionRun run;
            run.job.fs = &fs;
            std::thread writer;
            if (source == Source::kMemory) {
                run.SetPackage(bytes);
            } else {
                if (source == Source::kFile) {
                    std::ofstream(package, std::ios::binary) << bytes;
                } else {
                    ASSERT_EQ(mkfifo(package.c_str(), 0600), 0);
                    // Opening a FIFO waits for its reader: the writer has a thread.
                    writer = std::thread([&package, &bytes]() {
                        std::ofstream(package, std::ios::binary) << bytes;
                    });
                }
                run.job.open_package = [&package]() { return pack::OpenHostRead(package); };
            }
            EXPECT_EQ(run.Run(), c.result);
            if (writer.joinable()) {
                writer.join();
            }
            // Each entry holds what the package delivered of its data, and
            // none after a cut is made.
            std::size_t at = 28 + 3 * 264;
            for (const TestFile& file : files) {
                std::string host = file.name;
                std::replace(host.begin(), host.end(), '\\', '/');
                const std::string on_disk = FileAt(tmp.path() + "/t/Q/" + host);
                if (c.result == kExtractBadPackage || at > c.length) {
                    EXPECT_EQ(on_disk, "<missing>") << file.name;
                } else {
                    const std::string delivered = file.data.substr(0, c.length - at);
                    EXPECT_TRUE(on_disk == delivered)
                        << file.name << ": " << on_disk.size() << " bytes, " << delivered.size()
                        << " delivered";
                }
                at += file.data.size();
            }
            if (source == Source::kMemory) {
                memory_positions = run.ui.positions;
            } else {
                EXPECT_EQ(run.ui.positions, memory_positions);
            }
            if (c.length == full.size()) {
                EXPECT_EQ(run.ui.positions,
                          (std::vector<std::int32_t>{3, 30723, 61443, 92163, 100003, 100004}));
            }
        }
    }
    signal(SIGPIPE, old_pipe_handler);
}

}  // namespace
}  // namespace qz::test
