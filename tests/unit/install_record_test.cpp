#include "integration/install_record.h"

#include <gtest/gtest.h>

#include <string>

#include "support/recording_registry_store.h"

namespace {

using qz::test::RecordingRegistryStore;
using qz::test::RegCall;
using qz::test::RegOp;

const char kKey[] = "software\\tarnwell\\velmira";

// The bytes a REG_SZ value holds: the text and one NUL.
std::string Sz(const std::string& text) {
    return text + '\0';
}

// The names of the values set, in order, whether or not the set succeeded.
std::string SetNames(const RecordingRegistryStore& store) {
    std::string names;
    for (const RegCall& call : store.Calls()) {
        if (call.op == RegOp::kSet) {
            names += names.empty() ? "" : " ";
            names += call.name;
        }
    }
    return names;
}

void ExpectValue(const RecordingRegistryStore& store, const char* name, const std::string& text) {
    const auto value = store.Value(qz::kHkeyLocalMachine, kKey, name);
    ASSERT_TRUE(value.has_value()) << name;
    EXPECT_EQ(value->type, qz::kRegSz) << name;
    EXPECT_EQ(value->bytes, Sz(text)) << name;
}

TEST(InstallRecordTest, CreatesTheKeyAndWritesVerThenPath) {
    RecordingRegistryStore store;
    qz::WriteInstallRecord(store, "C:\\Program Files\\Qorvane\\");

    ASSERT_FALSE(store.Calls().empty());
    const RegCall& create = store.Calls().front();
    EXPECT_EQ(create.op, RegOp::kCreate);
    EXPECT_EQ(create.key, qz::kHkeyLocalMachine);
    EXPECT_EQ(create.path, kKey);
    EXPECT_EQ(create.access, qz::kKeyAllAccess);
    EXPECT_EQ(create.options, qz::kRegOptionNonVolatile);

    ExpectValue(store, "ver", "1.10");
    ExpectValue(store, "path", "C:\\Program Files\\Qorvane\\");
    EXPECT_EQ(SetNames(store), "ver path");
    EXPECT_EQ(store.OpenHandleCount(), 0u);
    EXPECT_EQ(store.BadHandleCalls(), 0);
}

TEST(InstallRecordTest, PathLengthAgainstTheValueLimit) {
    const struct {
        const char* what;
        std::size_t length;
        bool pathWritten;
    } cases[] = {
        {"254 bytes: the longest accepted", 254, true},
        {"255 bytes: refused", 255, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        // "C:\", letters, and the final backslash: `length` bytes in all.
        const std::string dir = "C:\\" + std::string(c.length - 4, 'q') + "\\";
        ASSERT_EQ(dir.size(), c.length);
        RecordingRegistryStore store;
        qz::WriteInstallRecord(store, dir);

        ExpectValue(store, "ver", "1.10");
        if (c.pathWritten) {
            ExpectValue(store, "path", dir);
            EXPECT_EQ(store.Value(qz::kHkeyLocalMachine, kKey, "path")->bytes.size(), c.length + 1);
        } else {
            EXPECT_FALSE(store.Value(qz::kHkeyLocalMachine, kKey, "path").has_value());
            // Refused before the store is asked.
            EXPECT_EQ(SetNames(store), "ver");
        }
        EXPECT_EQ(store.OpenHandleCount(), 0u);
    }
}

TEST(InstallRecordTest, NoKeyMeansNoValues) {
    RecordingRegistryStore store;
    store.DenyRoot(qz::kHkeyLocalMachine, qz::test::kErrorAccessDenied);
    qz::WriteInstallRecord(store, "C:\\Program Files\\Qorvane\\");

    EXPECT_EQ(store.Trace(), "create!");
    EXPECT_FALSE(store.HasKey(qz::kHkeyLocalMachine, kKey));
}

TEST(InstallRecordTest, AFailedValueDoesNotStopTheOther) {
    RecordingRegistryStore store;
    store.FailSetValue(qz::test::kErrorAccessDenied);
    qz::WriteInstallRecord(store, "C:\\Program Files\\Qorvane\\");

    EXPECT_EQ(SetNames(store), "ver path");
    EXPECT_FALSE(store.Value(qz::kHkeyLocalMachine, kKey, "ver").has_value());
    EXPECT_EQ(store.OpenHandleCount(), 0u);
}

}  // namespace

namespace {

struct RemovalCase {
    const char* what;
    std::string recorded;  // the "path" value's bytes; empty: none
    bool other_value;      // a value of someone else's under the key
    bool publisher_other;  // another product's key under the publisher's
    qz::RecordRemoval result;
    bool key_left;
    bool publisher_left;
};

TEST(InstallRecordTest, RemovesOnlyTheRecordOfThisDirectoryAndOnlyEmptyKeys) {
    const char kDir[] = "C:\\Program Files\\Qorvane\\";
    const RemovalCase cases[] = {
        {"this directory", Sz(kDir), false, false, qz::RecordRemoval::kRemoved, false, false},
        {"stored without NUL", kDir, false, false, qz::RecordRemoval::kRemoved, false, false},
        {"another value stays", Sz(kDir), true, false, qz::RecordRemoval::kRemoved, true, true},
        {"another product", Sz(kDir), false, true, qz::RecordRemoval::kRemoved, false, true},
        {"another directory", Sz("D:\\Qorvane\\"), false, false, qz::RecordRemoval::kElsewhere,
         true, true},
        {"letter case differs", Sz("c:\\program files\\qorvane\\"), false, false,
         qz::RecordRemoval::kElsewhere, true, true},
        {"no path", "", false, false, qz::RecordRemoval::kAbsent, true, true},
    };
    for (const RemovalCase& c : cases) {
        RecordingRegistryStore store;
        store.AddKey(qz::kHkeyLocalMachine, "software\\tarnwell");
        store.PutValue(qz::kHkeyLocalMachine, kKey, "ver", {qz::kRegSz, Sz("1.10")});
        if (!c.recorded.empty()) {
            store.PutValue(qz::kHkeyLocalMachine, kKey, "path", {qz::kRegSz, c.recorded});
        }
        if (c.other_value) {
            store.PutValue(qz::kHkeyLocalMachine, kKey, "other", {qz::kRegSz, Sz("x")});
        }
        if (c.publisher_other) {
            store.AddKey(qz::kHkeyLocalMachine, "software\\tarnwell\\other");
        }
        EXPECT_EQ(qz::RemoveInstallRecord(store, kDir), c.result) << c.what;
        EXPECT_EQ(store.HasKey(qz::kHkeyLocalMachine, kKey), c.key_left) << c.what;
        EXPECT_EQ(store.HasKey(qz::kHkeyLocalMachine, "software\\tarnwell"), c.publisher_left)
            << c.what;
        const bool removed = c.result == qz::RecordRemoval::kRemoved;
        EXPECT_EQ(store.Value(qz::kHkeyLocalMachine, kKey, "ver").has_value(), !removed) << c.what;
        EXPECT_EQ(store.OpenHandleCount(), 0u) << c.what;
        EXPECT_EQ(store.BadHandleCalls(), 0) << c.what;
    }
    RecordingRegistryStore failing;
    failing.PutValue(qz::kHkeyLocalMachine, kKey, "path", {qz::kRegSz, Sz(kDir)});
    failing.FailDeleteValue(qz::test::kErrorAccessDenied);
    EXPECT_EQ(qz::RemoveInstallRecord(failing, kDir), qz::RecordRemoval::kFailed);
    EXPECT_TRUE(failing.Value(qz::kHkeyLocalMachine, kKey, "path").has_value());
}

}  // namespace
