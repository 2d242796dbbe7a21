// The product's entry in the list of installed programs, over a recording store.
#include "integration/uninstall_entry.h"

#include <gtest/gtest.h>

#include <string>

#include "support/recording_registry_store.h"

namespace {

using qz::test::RecordingRegistryStore;

const char kKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Qorvane";

bool SingleByte(unsigned char) {
    return false;
}

std::string Dword(std::uint32_t value) {
    return std::string{static_cast<char>(value), static_cast<char>(value >> 8),
                       static_cast<char>(value >> 16), static_cast<char>(value >> 24)};
}

TEST(UninstallEntryTest, WritesEveryValueInOneKey) {
    // Longer than the record's 254-byte limit: these values are not cut or refused.
    const std::string dir = "C:\\" + std::string(280, 'q') + "\\\xB0\xB2\xD7\xB0\\";
    RecordingRegistryStore store;
    EXPECT_TRUE(qz::WriteUninstallEntry(store, dir, 3 * 1024 + 1, "20261209"));

    const std::string quoted = "\"" + dir + "uninstall.exe\"";
    const struct {
        const char* name;
        std::uint32_t type;
        std::string bytes;
    } expected[] = {
        {"DisplayName", qz::kRegSz, std::string("Qorvane", 8)},
        {"DisplayVersion", qz::kRegSz, std::string("1.10", 5)},
        {"Publisher", qz::kRegSz, std::string("Tarnwell", 9)},
        {"InstallLocation", qz::kRegSz, dir.substr(0, dir.size() - 1) + '\0'},
        {"DisplayIcon", qz::kRegSz, dir + "ravik.exe" + '\0'},
        {"UninstallString", qz::kRegSz, quoted + '\0'},
        {"QuietUninstallString", qz::kRegSz, quoted + " /S" + '\0'},
        {"EstimatedSize", qz::kRegDword, Dword(4)},
        {"InstallDate", qz::kRegSz, std::string("20261209", 9)},
        {"NoModify", qz::kRegDword, Dword(1)},
        {"NoRepair", qz::kRegDword, Dword(1)},
    };
    std::string order;
    for (const auto& call : store.Calls()) {
        if (call.op == qz::test::RegOp::kSet) {
            order += call.name + " ";
        }
    }
    std::string wanted;
    for (const auto& value : expected) {
        SCOPED_TRACE(value.name);
        wanted += std::string(value.name) + " ";
        const auto stored = store.Value(qz::kHkeyLocalMachine, kKey, value.name);
        ASSERT_TRUE(stored.has_value());
        EXPECT_EQ(stored->type, value.type);
        EXPECT_EQ(stored->bytes, value.bytes);
    }
    EXPECT_EQ(order, wanted);
    EXPECT_EQ(store.Calls().front().op, qz::test::RegOp::kCreate);
    EXPECT_EQ(store.OpenHandleCount(), 0u);
    EXPECT_EQ(store.BadHandleCalls(), 0);
}

TEST(UninstallEntryTest, InstallLocationLosesOnlyASeparatorOfItsOwn) {
    const struct {
        const char* dir;
        qz::LeadByteTest isLead;
        const char* location;
    } cases[] = {
        {"C:\\Program Files\\Qorvane\\", qz::IsGbkLeadByte, "C:\\Program Files\\Qorvane"},
        {"C:\\", qz::IsGbkLeadByte, "C:\\"},
        {"D:\\", SingleByte, "D:\\"},
        {"C:\\a\\", qz::IsGbkLeadByte, "C:\\a"},
        // 乗 = 81 5C: under GBK its second byte is no separator.
        {"C:\\\x81\x5C\\", qz::IsGbkLeadByte, "C:\\\x81\x5C"},
        {"C:\\\x81\x5C", qz::IsGbkLeadByte, "C:\\\x81\x5C"},
        {"C:\\\x81\x5C", SingleByte, "C:\\\x81"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.dir);
        EXPECT_EQ(qz::InstallLocationOf(c.dir, c.isLead), c.location);
    }
}

TEST(UninstallEntryTest, EstimatedSizeInKibRoundedUp) {
    const struct {
        std::int64_t bytes;
        std::uint32_t kib;
    } cases[] = {{0, 0}, {1, 1}, {1024, 1}, {1025, 2}, {2147483647, 2097152}};
    for (const auto& c : cases) {
        EXPECT_EQ(qz::EstimatedSizeKib(c.bytes), c.kib) << c.bytes;
    }
}

TEST(UninstallEntryTest, FailuresWriteWhatTheyCan) {
    RecordingRegistryStore denied;
    denied.DenyRoot(qz::kHkeyLocalMachine, qz::test::kErrorAccessDenied);
    EXPECT_FALSE(qz::WriteUninstallEntry(denied, "C:\\Qorvane\\", 1, "20261209"));
    EXPECT_EQ(denied.Trace(), "create!");

    RecordingRegistryStore failing;
    failing.FailSetValue(qz::test::kErrorAccessDenied);
    EXPECT_FALSE(qz::WriteUninstallEntry(failing, "C:\\Qorvane\\", 1, "20261209"));
    EXPECT_EQ(failing.Trace(),
              "create set! set! set! set! set! set! set! set! set! set! set! close");
    EXPECT_EQ(failing.OpenHandleCount(), 0u);
}

// Removed only when InstallLocation names this very directory; a value not
// of the entry keeps the key.
TEST(UninstallEntryTest, RemovedOnlyForItsOwnDirectory) {
    const struct {
        const char* what;
        const char* written;  // null: no entry
        const char* removing;
        bool foreignValue;
        qz::EntryRemoval result;
        bool keyStays;
    } cases[] = {
        {"its own directory", "C:\\Apps\\Qorvane\\", "C:\\Apps\\Qorvane\\", false,
         qz::EntryRemoval::kRemoved, false},
        {"a foreign value stays", "C:\\Apps\\Qorvane\\", "C:\\Apps\\Qorvane\\", true,
         qz::EntryRemoval::kRemoved, true},
        {"another directory", "C:\\Other\\Qorvane\\", "C:\\Apps\\Qorvane\\", false,
         qz::EntryRemoval::kElsewhere, true},
        {"a directory it begins with", "C:\\Apps\\Qorvane2\\", "C:\\Apps\\Qorvane\\", false,
         qz::EntryRemoval::kElsewhere, true},
        {"no entry", nullptr, "C:\\Apps\\Qorvane\\", false, qz::EntryRemoval::kAbsent, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        RecordingRegistryStore store;
        if (c.written != nullptr) {
            ASSERT_TRUE(qz::WriteUninstallEntry(store, c.written, 1, "20261209"));
        }
        if (c.foreignValue) {
            qz::RegHandle key = 0;
            ASSERT_EQ(store.OpenKey(qz::kHkeyLocalMachine, kKey, qz::kKeyAllAccess, &key), 0);
            store.SetValue(key, "Comments", qz::kRegSz, "x", 2);
            store.CloseKey(key);
        }
        EXPECT_EQ(qz::RemoveUninstallEntry(store, c.removing), c.result);
        EXPECT_EQ(store.HasKey(qz::kHkeyLocalMachine, kKey), c.keyStays);
        const bool removed = c.result == qz::EntryRemoval::kRemoved;
        EXPECT_EQ(store.Value(qz::kHkeyLocalMachine, kKey, "InstallLocation").has_value(),
                  c.keyStays && !removed);
        EXPECT_EQ(store.Value(qz::kHkeyLocalMachine, kKey, "NoRepair").has_value(),
                  c.keyStays && !removed);
        EXPECT_EQ(store.OpenHandleCount(), 0u);
    }
}

}  // namespace
