#include "engine/extractor.h"

#include <gtest/gtest.h>

#include <new>
#include <stdexcept>

#include "common/texts.h"
#include "support/extraction_run.h"
#include "support/package_bytes.h"

namespace qz::test {
namespace {

const std::string kFormat = kMsgFormat;

// What was asked of a package stream and what it delivered.
struct ReadRecord {
    std::vector<std::size_t> requests;
    std::int64_t delivered = 0;
};

// Wraps a stream and records its reads; the record outlives the stream.
class RecordingStream : public ReadStream {
  public:
    RecordingStream(std::unique_ptr<ReadStream> inner, ReadRecord& record)
        : m_inner(std::move(inner)), m_record(record) {}
    std::int64_t Read(void* buf, std::size_t n) override {
        m_record.requests.push_back(n);
        const std::int64_t got = m_inner->Read(buf, n);
        if (got > 0) {
            m_record.delivered += got;
        }
        return got;
    }

  private:
    std::unique_ptr<ReadStream> m_inner;
    ReadRecord& m_record;
};

void ExpectAllClosed(const ExtractionRun& run) {
    EXPECT_EQ(run.fs.open_streams(), 0);
    EXPECT_EQ(run.package_fs.open_streams(), 0);
}

TEST(Extractor, ExamplePackageByteForByte) {
    std::string bytes;
    bytes += std::string("\x01\x00\x00\x00", 4);             // offset 0: nVersion 1
    bytes += "QZ";                                           // offset 4: chMagic
    bytes += std::string(18, '\0');                          // offset 6: reserved
    bytes += std::string("\x02\x00\x00\x00", 4);             // offset 24: nEntryCount 2
    bytes += std::string("\x03\x00\x00\x00", 4);             // offset 28: entry 0 nSize 3
    bytes += std::string("a.txt") + std::string(255, '\0');  // offset 32: szName, NUL + 254 bytes
    bytes += std::string("\x00\x00\x00\x00", 4);             // offset 292: entry 1 nSize 0
    bytes += std::string("sub\\b.bin") + std::string(251, '\0');  // offset 296: szName
    bytes += "abc";                                               // offset 556: data of entry 0
    ASSERT_EQ(bytes.size(), 559u);

    ExtractionRun run;
    run.SetPackage(bytes);
    EXPECT_EQ(run.Run(), kExtractOk);
    EXPECT_EQ(run.fs.FileContents("C:\\Q\\a.txt"), "abc");
    EXPECT_TRUE(run.fs.HasFile("C:\\Q\\sub\\b.bin"));
    EXPECT_EQ(run.fs.FileContents("C:\\Q\\sub\\b.bin"), "");
    EXPECT_EQ(run.Log(), "[FILE] a.txt\r\n[FILE] sub\\b.bin\r\n");
    EXPECT_EQ(run.ui.calls,
              (std::vector<std::string>{"running", "range", "status", "position", "status"}));
    EXPECT_EQ(run.ui.ranges, std::vector<std::int32_t>{3});
    EXPECT_EQ(run.ui.positions, std::vector<std::int32_t>{3});
    EXPECT_EQ(run.ui.statuses, (std::vector<std::string>{"C:\\Q\\a.txt", "C:\\Q\\sub\\b.bin"}));
    EXPECT_TRUE(run.ui.messages.empty());
    EXPECT_EQ(run.state, kStateSucceeded);
    EXPECT_EQ(run.shortcut_calls, 1);
    EXPECT_EQ(run.state_at_shortcuts, kStateSucceeded);
    EXPECT_TRUE(run.entries.empty());
    ExpectAllClosed(run);
}

// Packages whose header or directory decide the outcome before any data.
struct HeaderCase {
    const char* what;
    std::string bytes;
    int result;
};

TEST(Extractor, HeaderAndDirectoryOutcomes) {
    const HeaderCase cases[] = {
        {"28-byte empty package, reserved bytes ignored",
         std::string("\x01\x00\x00\x00QZ", 6) + std::string(18, '\x7F') + Le32(0), kExtractOk},
        {"6 bytes: version 1 and QZ, the rest counts as zero", std::string("\x01\x00\x00\x00QZ", 6),
         kExtractOk},
        {"negative count FF FF FF FF is an empty package", HeaderBytes(1, 'Q', 'Z', -1),
         kExtractOk},
        {"most negative count", HeaderBytes(1, 'Q', 'Z', INT32_MIN), kExtractOk},
        {"version 2", HeaderBytes(2, 'Q', 'Z', 0), kExtractBadPackage},
        {"version 1 as big-endian", std::string("\x00\x00\x00\x01QZ", 6) + std::string(22, '\0'),
         kExtractBadPackage},
        {"magic swapped", HeaderBytes(1, 'Z', 'Q', 0), kExtractBadPackage},
        {"magic in lower case", HeaderBytes(1, 'q', 'z', 0), kExtractBadPackage},
        {"magic byte 5 zero", HeaderBytes(1, 'Q', '\0', 0), kExtractBadPackage},
        {"empty file: version reads as 0", std::string(), kExtractBadPackage},
        {"5 bytes: magic byte 5 missing", std::string("\x01\x00\x00\x00Q", 5), kExtractBadPackage},
        {"directory ends after one of two records",
         HeaderBytes(1, 'Q', 'Z', 2) + EntryBytes(1, "a.txt") + "x", kExtractBadPackage},
        {"record one byte short",
         HeaderBytes(1, 'Q', 'Z', 1) + EntryBytes(0, "a.txt").substr(0, 263), kExtractBadPackage},
        {"name field without its NUL",
         HeaderBytes(1, 'Q', 'Z', 1) + EntryBytes(0, std::string(260, 'a')), kExtractBadPackage},
        {"sizes add up past 2,147,483,647",
         HeaderBytes(1, 'Q', 'Z', 2) + EntryBytes(INT32_MAX, "a") + EntryBytes(1, "b"),
         kExtractBadPackage},
        {"two sizes that wrap a 32-bit sum to a small positive number",
         HeaderBytes(1, 'Q', 'Z', 3) + EntryBytes(INT32_MAX, "a") + EntryBytes(INT32_MAX, "b") +
             EntryBytes(3, "c"),
         kExtractBadPackage},
    };
    for (const HeaderCase& c : cases) {
        SCOPED_TRACE(c.what);
        ExtractionRun run;
        run.SetPackage(c.bytes);
        EXPECT_EQ(run.Run(), c.result);
        ExpectAllClosed(run);
        if (c.result == kExtractOk) {
            EXPECT_EQ(run.state, kStateSucceeded);
            EXPECT_TRUE(run.fs.HasFile("C:\\Q\\install.log"));
            EXPECT_EQ(run.Log(), "");
            EXPECT_EQ(run.ui.ranges, std::vector<std::int32_t>{0});
            EXPECT_TRUE(run.ui.messages.empty());
        } else {
            EXPECT_EQ(run.state, kStateFailed);
            EXPECT_TRUE(run.fs.Untouched());
            EXPECT_EQ(run.ui.messages, std::vector<std::string>{kFormat});
            EXPECT_TRUE(run.ui.ranges.empty());
            EXPECT_EQ(run.shortcut_calls, 0);
        }
    }
}

TEST(Extractor, EmptyPackageMakesInstallDirectoryLevelsButNeverTheDriveRoot) {
    ExtractionRun run("C:\\Program Files\\Qorvane\\");
    run.SetPackage(HeaderBytes(1, 'Q', 'Z', 0));
    EXPECT_EQ(run.Run(), kExtractOk);
    EXPECT_EQ(run.fs.directory_requests(),
              (std::vector<std::string>{"C:\\Program Files\\", "C:\\Program Files\\Qorvane\\"}));
    EXPECT_TRUE(run.fs.HasDirectory("C:\\Program Files\\Qorvane"));
    EXPECT_EQ(run.fs.FileContents("C:\\Program Files\\Qorvane\\install.log"), "");
    EXPECT_EQ(run.ui.ranges, std::vector<std::int32_t>{0});
    EXPECT_TRUE(run.ui.positions.empty());
    EXPECT_EQ(run.state, kStateSucceeded);
    EXPECT_EQ(run.shortcut_calls, 1);
}

TEST(Extractor, LargeEntryIsCopiedInPiecesAndNothingAfterTheDataIsRead) {
    std::string data(70000, '\0');
    for (std::size_t i = 0; i < data.size(); ++i) {
        data[i] = static_cast<char>(i * 7 + i / 251);
    }
    ExtractionRun run;
    run.SetPackage(PackageBytes({{"big.bin", data}}) + "trailing bytes");
    ReadRecord reads;
    run.job.open_package = [&]() {
        return std::make_unique<RecordingStream>(run.package_fs.OpenRead("data.dat"), reads);
    };
    EXPECT_EQ(run.Run(), kExtractOk);
    EXPECT_EQ(run.fs.FileContents("C:\\Q\\big.bin"), data);
    EXPECT_EQ(run.ui.ranges, std::vector<std::int32_t>{70000});
    EXPECT_EQ(run.ui.positions, (std::vector<std::int32_t>{30720, 61440, 70000}));
    // Header, one record, then three data pieces; the trailing bytes are never asked for.
    EXPECT_EQ(reads.requests, (std::vector<std::size_t>{28, 264, 30720, 30720, 8560}));
    EXPECT_EQ(reads.delivered, 28 + 264 + 70000);
}

TEST(Extractor, ShortReadsFromThePackageAreCarriedOn) {
    ExtractionRun run;
    run.SetPackage(PackageBytes({{"a.txt", "hello"}, {"b.txt", "world!"}}));
    run.package_fs.LimitReads(4);  // every read delivers at most 4 bytes
    EXPECT_EQ(run.Run(), kExtractOk);
    EXPECT_EQ(run.fs.FileContents("C:\\Q\\a.txt"), "hello");
    EXPECT_EQ(run.fs.FileContents("C:\\Q\\b.txt"), "world!");
    EXPECT_EQ(run.ui.positions, (std::vector<std::int32_t>{4, 5, 9, 11}));
}

TEST(Extractor, EmptyAndNegativeSizedEntriesTakeNoBytes) {
    ExtractionRun run;
    run.SetPackage(HeaderBytes(1, 'Q', 'Z', 4) + EntryBytes(2, "a.txt") + EntryBytes(0, "e.txt") +
                   EntryBytes(-5, "n.txt") + EntryBytes(3, "d\\c.txt") + "12" + "345");
    EXPECT_EQ(run.Run(), kExtractOk);
    EXPECT_EQ(run.fs.FileContents("C:\\Q\\a.txt"), "12");
    EXPECT_TRUE(run.fs.HasFile("C:\\Q\\e.txt"));
    EXPECT_EQ(run.fs.FileContents("C:\\Q\\e.txt"), "");
    EXPECT_TRUE(run.fs.HasFile("C:\\Q\\n.txt"));
    EXPECT_EQ(run.fs.FileContents("C:\\Q\\n.txt"), "");
    EXPECT_EQ(run.fs.FileContents("C:\\Q\\d\\c.txt"), "345");
    // The negative size counts as 0: the range is never below a position.
    EXPECT_EQ(run.ui.ranges, std::vector<std::int32_t>{5});
    EXPECT_EQ(run.ui.positions, (std::vector<std::int32_t>{2, 5}));
    EXPECT_EQ(run.Log(), "[FILE] a.txt\r\n[FILE] e.txt\r\n[FILE] n.txt\r\n[FILE] d\\c.txt\r\n");
}

TEST(Extractor, PackageOneByteShortKeepsWhatWasWritten) {
    ExtractionRun run;
    const std::string full = PackageBytes({{"a.txt", "abc"}, {"b\\b.txt", "defg"}});
    run.SetPackage(full.substr(0, full.size() - 1));
    EXPECT_EQ(run.Run(), kExtractTruncated);
    EXPECT_EQ(run.ui.messages, std::vector<std::string>{kFormat});
    EXPECT_EQ(run.fs.FileContents("C:\\Q\\a.txt"), "abc");
    EXPECT_EQ(run.fs.FileContents("C:\\Q\\b\\b.txt"), "def");
    EXPECT_EQ(run.Log(), "[FILE] a.txt\r\n[FILE] b\\b.txt\r\n");
    EXPECT_EQ(run.state, kStateFailed);
    EXPECT_EQ(run.shortcut_calls, 0);
    EXPECT_EQ(run.entries.size(), 2u);  // records stay until the page frees them
    ExpectAllClosed(run);
}

TEST(Extractor, LaterEntryOfTheSameNameWins) {
    ExtractionRun run;
    run.SetPackage(PackageBytes({{"x.txt", "first and longer"}, {"x.txt", "second"}}));
    EXPECT_EQ(run.Run(), kExtractOk);
    EXPECT_EQ(run.fs.FileContents("C:\\Q\\x.txt"), "second");
}

TEST(Extractor, ExistingFilesAndLogAreReplacedNotAppended) {
    ExtractionRun run;
    run.fs.AddFile("C:\\Q\\install.log", "[FILE] old.txt\r\n");
    run.fs.AddFile("C:\\Q\\a.txt", "an older and longer content");
    run.SetPackage(PackageBytes({{"a.txt", "new"}}));
    EXPECT_EQ(run.Run(), kExtractOk);
    EXPECT_EQ(run.Log(), "[FILE] a.txt\r\n");
    EXPECT_EQ(run.fs.FileContents("C:\\Q\\a.txt"), "new");
}

TEST(Extractor, GbkTrailByte5CIsNotASeparator) {
    // 乗 = 81 5C, 嘰 = 87 5C: both end in the byte of a backslash.
    const std::string jou = "\x81\x5c";
    const std::string ki = "\x87\x5c";
    ExtractionRun run("C:\\" + jou + "\\");
    run.SetPackage(PackageBytes({{jou + "\\" + ki + ".txt", "1"},  // 乗\嘰.txt
                                 {"d\\" + jou, "2"},               // d\乗: a file, not a folder
                                 {ki + "\\" + ki + "\\x.bin", "3"}}));  // 嘰\嘰\x.bin
    EXPECT_EQ(run.Run(), kExtractOk);
    const std::string base = "C:\\" + jou + "\\";
    EXPECT_EQ(run.fs.FileContents(base + jou + "\\" + ki + ".txt"), "1");
    EXPECT_EQ(run.fs.FileContents(base + "d\\" + jou), "2");
    EXPECT_EQ(run.fs.FileContents(base + ki + "\\" + ki + "\\x.bin"), "3");
    EXPECT_EQ(run.fs.directories(), (std::set<std::string>{"C:\\" + jou, base + jou, base + "d",
                                                           base + ki, base + ki + "\\" + ki}));
    EXPECT_EQ(run.Log(), "[FILE] " + jou + "\\" + ki + ".txt\r\n[FILE] d\\" + jou + "\r\n[FILE] " +
                             ki + "\\" + ki + "\\x.bin\r\n");
}

TEST(Extractor, HostileNamesAreRefusedBeforeAnythingIsWritten) {
    // One of each kind; the rules themselves are tested name by name in entry_rules_test.
    const std::string names[] = {
        "..\\evil.exe",         // parent level
        "a/../b",               // forward slashes
        "C:\\boot.ini",         // drive letter
        "\\windows\\x",         // leading backslash
        "a\\nul.txt",           // device
        "a\\b.\\c",             // level ending with a dot
        "\x81",                 // lead byte 81 with no trail byte
        "what?.txt",            // a character Windows file names cannot hold
        std::string(256, 'a'),  // a level of 256 characters
        "INSTALL.LOG",          // the installer's own log
        "Install.log\\x.txt",   // a folder named like the log, which is made first
        "OK.TXT\\x.txt",        // needs the first entry's name as a folder
    };
    for (const std::string& name : names) {
        SCOPED_TRACE(name);
        ExtractionRun run;
        // A harmless entry first: it must not be written either.
        run.SetPackage(PackageBytes({{"ok.txt", "fine"}, {name, "payload"}}));
        EXPECT_EQ(run.Run(), kExtractBadPackage);
        EXPECT_TRUE(run.fs.Untouched());
        EXPECT_TRUE(run.fs.files().empty());
        EXPECT_EQ(run.ui.messages, std::vector<std::string>{kFormat});
        EXPECT_EQ(run.state, kStateFailed);
        ExpectAllClosed(run);
    }
    ExtractionRun empty_name;
    empty_name.SetPackage(HeaderBytes(1, 'Q', 'Z', 1) + EntryBytes(0, ""));
    EXPECT_EQ(empty_name.Run(), kExtractBadPackage);
    EXPECT_TRUE(empty_name.fs.Untouched());
}

// Faults of the disk or the package during extraction.
struct FaultCase {
    const char* what;
    void (*arrange)(ExtractionRun&);
    int result;
    const char* message;
    const char* log;  // the log afterwards
};

TEST(Extractor, FailuresAreReportedNeverSwallowed) {
    const FaultCase cases[] = {
        {"log line write fails", [](ExtractionRun& r) { r.fs.FailWriteCall(1); },
         kExtractCreateFailed, kMsgCreateFile, ""},
        {"data write fails", [](ExtractionRun& r) { r.fs.FailWriteCall(2); }, kExtractCreateFailed,
         kMsgCreateFile, "[FILE] a.txt\r\n"},
        {"disk full inside the second file", [](ExtractionRun& r) { r.fs.SetCapacity(65); },
         kExtractCreateFailed, kMsgCreateFile, "[FILE] a.txt\r\n[FILE] s\\b.txt\r\n"},
        {"log cannot be created", [](ExtractionRun& r) { r.fs.FailOpen("C:\\Q\\install.log"); },
         kExtractCreateFailed, kMsgCreateFile, ""},
        {"install directory cannot be made", [](ExtractionRun& r) { r.fs.FailOpen("C:\\Q\\"); },
         kExtractCreateFailed, kMsgCreateFile, ""},
        {"output file cannot be created",
         [](ExtractionRun& r) { r.fs.FailOpen("C:\\Q\\s\\b.txt"); }, kExtractCreateFailed,
         kMsgCreateFile, "[FILE] a.txt\r\n[FILE] s\\b.txt\r\n"},
        {"sub-directory cannot be made", [](ExtractionRun& r) { r.fs.FailOpen("C:\\Q\\s\\"); },
         kExtractCreateFailed, kMsgCreateFile, "[FILE] a.txt\r\n[FILE] s\\b.txt\r\n"},
        {"output file fails to close", [](ExtractionRun& r) { r.fs.FailClose("C:\\Q\\a.txt"); },
         kExtractCreateFailed, kMsgCreateFile, "[FILE] a.txt\r\n"},
        {"log fails to close", [](ExtractionRun& r) { r.fs.FailClose("C:\\Q\\install.log"); },
         kExtractCreateFailed, kMsgCreateFile, "[FILE] a.txt\r\n[FILE] s\\b.txt\r\n"},
        {"I/O error in the data",
         [](ExtractionRun& r) { r.package_fs.FailReadAt("data.dat", 600); }, kExtractTruncated,
         kMsgFormat, "[FILE] a.txt\r\n[FILE] s\\b.txt\r\n"},
        {"I/O error in the header",
         [](ExtractionRun& r) { r.package_fs.FailReadAt("data.dat", 10); }, kExtractTruncated,
         kMsgFormat, nullptr},
        {"I/O error in the directory",
         [](ExtractionRun& r) { r.package_fs.FailReadAt("data.dat", 300); }, kExtractTruncated,
         kMsgFormat, nullptr},
        {"data.dat missing", [](ExtractionRun& r) { r.package_fs.FailOpen("data.dat"); },
         kExtractAbandoned, kMsgFormat, nullptr},
        {"memory exhausted while opening",
         [](ExtractionRun& r) {
             r.job.open_package = []() -> std::unique_ptr<ReadStream> { throw std::bad_alloc(); };
         },
         kExtractCreateFailed, kMsgCreateFile, nullptr},
    };
    // a.txt: 30 bytes from offset 556; s\b.txt: 40 bytes from offset 586.
    const std::string package =
        PackageBytes({{"a.txt", std::string(30, 'a')}, {"s\\b.txt", std::string(40, 'b')}});
    for (const FaultCase& c : cases) {
        SCOPED_TRACE(c.what);
        ExtractionRun run;
        run.SetPackage(package);
        c.arrange(run);
        EXPECT_EQ(run.Run(), c.result);
        EXPECT_EQ(run.ui.messages, std::vector<std::string>{c.message});
        EXPECT_EQ(run.state, kStateFailed);
        EXPECT_EQ(run.shortcut_calls, 0);
        ExpectAllClosed(run);
        if (c.log == nullptr) {
            EXPECT_TRUE(run.fs.Untouched());
        } else {
            EXPECT_EQ(run.Log(), c.log);
        }
    }
}

TEST(Extractor, PartialFileStaysAfterADiskFault) {
    ExtractionRun run;
    run.SetPackage(
        PackageBytes({{"a.txt", std::string(30, 'a')}, {"b.txt", std::string(40, 'b')}}));
    run.fs.SetCapacity(14 + 14 + 30 + 10);  // two log lines, a.txt, 10 bytes of b.txt
    EXPECT_EQ(run.Run(), kExtractCreateFailed);
    EXPECT_EQ(run.fs.FileContents("C:\\Q\\a.txt"), std::string(30, 'a'));
    EXPECT_EQ(run.fs.FileContents("C:\\Q\\b.txt"), std::string(10, 'b'));
}

struct RunningCopyCase {
    const char* what;
    std::deque<bool> running;
    std::deque<bool> answers;
    int result;
    int questions;
    int state;  // after ExtractPackage, before the worker marks a failure
};

TEST(Extractor, RunningCopyQuestion) {
    const RunningCopyCase cases[] = {
        {"no running copy: no question", {false}, {}, kExtractOk, 0, kStateSucceeded},
        {"OK while still running asks again, OK after closing goes on",
         {true, true, false},
         {true, true},
         kExtractOk,
         2,
         kStateSucceeded},
        {"Cancel at once", {true}, {false}, kExtractAbandoned, 1, kStateNotStarted},
        {"OK, then Cancel while still running",
         {true, true},
         {true, false},
         kExtractAbandoned,
         2,
         kStateNotStarted},
    };
    for (const RunningCopyCase& c : cases) {
        SCOPED_TRACE(c.what);
        ExtractionRun run;
        run.SetPackage(PackageBytes({{"a.txt", "abc"}}));
        run.ui.running = c.running;
        run.ui.answers = c.answers;
        EXPECT_EQ(ExtractPackage(run.job), c.result);
        EXPECT_EQ(run.ui.questions, c.questions);
        EXPECT_EQ(run.state, c.state);
        if (c.result == kExtractAbandoned) {
            EXPECT_TRUE(run.ui.messages.empty());
            EXPECT_EQ(run.package_opens, 0);
            EXPECT_TRUE(run.fs.Untouched());
        } else {
            EXPECT_EQ(run.fs.FileContents("C:\\Q\\a.txt"), "abc");
        }
    }
}

TEST(Extractor, StateIsRunningBeforeThePackageIsOpened) {
    ExtractionRun run;
    run.SetPackage(HeaderBytes(1, 'Q', 'Z', 0));
    int state_at_open = -1;
    run.job.open_package = [&]() {
        state_at_open = run.state;
        return run.package_fs.OpenRead("data.dat");
    };
    EXPECT_EQ(run.Run(), kExtractOk);
    EXPECT_EQ(state_at_open, kStateRunning);
}

TEST(Extractor, ShortcutFailureDoesNotChangeSuccess) {
    ExtractionRun run;
    run.SetPackage(PackageBytes({{"a.txt", "abc"}}));
    run.job.create_shortcuts = []() { throw std::runtime_error("no shell"); };
    EXPECT_EQ(run.Run(), kExtractOk);
    EXPECT_EQ(run.state, kStateSucceeded);
    EXPECT_TRUE(run.ui.messages.empty());
}

TEST(Extractor, VeryLongInstallDirectoryIsCarriedWhole) {
    const std::string dir = "C:\\" + std::string(2500, 'd') + "\\" + std::string(2500, 'e') + "\\";
    ExtractionRun run(dir);
    run.job.longest_path = 6000;  // a file layer without Windows' limits
    run.job.longest_folder = 6000;
    run.SetPackage(PackageBytes({{std::string(250, 'n') + "\\f.txt", "abc"}}));
    EXPECT_EQ(run.Run(), kExtractOk);
    const std::string path = dir + std::string(250, 'n') + "\\f.txt";
    EXPECT_EQ(run.fs.FileContents(path), "abc");
    EXPECT_EQ(run.ui.statuses, std::vector<std::string>{path});
}

TEST(Extractor, PathTooLongIsRefusedBeforeTheFirstWrite) {
    struct Case {
        const char* what;
        std::size_t dir_bytes;  // the install directory's length, its backslash included
        std::size_t name_bytes;
        int result;
    };
    const Case cases[] = {
        {"directory and name make 259 bytes", 5, 254, kExtractOk},
        {"directory and name make 260 bytes", 5, 255, kExtractCreateFailed},
        // The name's folder s\ (2 bytes) below the directory: a folder's path
        // holds at most 247 bytes, its backslash included.
        {"directory and folder make 247 bytes", 245, 3, kExtractOk},
        {"directory and folder make 248 bytes", 246, 3, kExtractCreateFailed},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ExtractionRun run("C:\\" + std::string(c.dir_bytes - 4, 'd') + "\\");
        // A short file first, which a late check would have written.
        run.SetPackage(
            PackageBytes({{"a", "1"}, {"s\\" + std::string(c.name_bytes - 2, 'n'), "2"}}));
        EXPECT_EQ(run.Run(), c.result);
        if (c.result == kExtractOk) {
            EXPECT_EQ(run.fs.FileContents(run.job.install_dir + "a"), "1");
            continue;
        }
        EXPECT_EQ(run.ui.messages, std::vector<std::string>{kMsgCreateFile});
        EXPECT_TRUE(run.fs.Untouched());
        EXPECT_EQ(run.state, kStateFailed);
        EXPECT_EQ(run.shortcut_calls, 0);
        ExpectAllClosed(run);
    }
}

TEST(Extractor, NamesAreJudgedInTheJobsCodePage) {
    // 61 81 5C 43 4F 4D 31: in GBK a, 乗 and COM1, one level; in a single-byte
    // code page the levels a\x81 and COM1, a device.
    const std::string name =
        "a\x81\x5c"
        "COM1";
    ExtractionRun gbk;
    gbk.SetPackage(PackageBytes({{name, "x"}}));
    EXPECT_EQ(gbk.Run(), kExtractOk);
    EXPECT_EQ(gbk.fs.FileContents("C:\\Q\\" + name), "x");

    ExtractionRun western;
    western.job.names = kWesternNames;
    western.SetPackage(PackageBytes({{name, "x"}}));
    EXPECT_EQ(western.Run(), kExtractBadPackage);
    EXPECT_TRUE(western.fs.Untouched());
}

}  // namespace
}  // namespace qz::test
