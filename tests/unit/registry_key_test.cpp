#include "integration/registry_key.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "support/put_string_cases.h"
#include "support/recording_registry_store.h"

using qz::test::RecordingRegistryStore;
using qz::test::RegCall;
using qz::test::RegOp;

namespace {

// Every handle the store gave out was closed, and exactly once.
void ExpectHandlesBalanced(const RecordingRegistryStore& store) {
    EXPECT_EQ(store.OpenHandleCount(), 0u);
    EXPECT_EQ(store.BadHandleCalls(), 0);
}

TEST(RegistryKeyTest, SelectRootAcceptsExactlyTheFourRoots) {
    struct Case {
        const char* what;
        qz::RegHandle root;
        bool accepted;
    };
    const Case cases[] = {
        {"classes root", qz::kHkeyClassesRoot, true},
        {"current user", qz::kHkeyCurrentUser, true},
        {"local machine", qz::kHkeyLocalMachine, true},
        {"users", qz::kHkeyUsers, true},
        {"performance data", qz::kHkeyPerformanceData, false},
        {"current config", qz::kHkeyCurrentConfig, false},
        {"just below the roots", qz::kHkeyClassesRoot - 1, false},
        {"ordinary key handle", 0x1000, false},
        {"null handle", 0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        RecordingRegistryStore store;
        CRegistryKey key(store);
        // A marker that no case uses, so that "left unchanged" is seen.
        const qz::RegHandle marker = 0x5A5A;
        key.m_hRoot = marker;
        EXPECT_EQ(key.SelectRoot(c.root), c.accepted);
        EXPECT_EQ(key.m_hRoot, c.accepted ? c.root : marker);
        EXPECT_TRUE(store.Calls().empty());
    }
}

TEST(RegistryKeyTest, StartsAtCurrentUserWithoutKeyAndResetKeepsTheError) {
    RecordingRegistryStore store;
    CRegistryKey key(store);
    EXPECT_EQ(key.m_nError, qz::kErrorSuccess);
    EXPECT_EQ(key.m_hRoot, qz::kHkeyCurrentUser);
    EXPECT_EQ(key.m_bNoFlush, 1);
    EXPECT_EQ(key.m_strKeyPath, "");

    ASSERT_TRUE(key.SelectRoot(qz::kHkeyLocalMachine));
    EXPECT_FALSE(key.OpenPath("missing", false));
    ASSERT_TRUE(key.OpenPath("made", true));
    key.m_bNoFlush = 0;
    key.Reset();
    EXPECT_EQ(key.m_nError, qz::kErrorFileNotFound);
    EXPECT_EQ(key.m_hRoot, qz::kHkeyCurrentUser);
    EXPECT_EQ(key.m_bNoFlush, 1);
    EXPECT_EQ(key.m_strKeyPath, "");
}

TEST(RegistryKeyTest, EmptyPathClearsTheCurrentKeyWithoutTouchingTheStore) {
    for (bool create : {false, true}) {
        SCOPED_TRACE(create ? "create" : "open");
        RecordingRegistryStore store;
        CRegistryKey key(store);
        ASSERT_TRUE(key.OpenPath("a\\b", true));
        store.ClearCalls();
        EXPECT_TRUE(key.OpenPath("", create));
        EXPECT_EQ(key.m_strKeyPath, "");
        EXPECT_EQ(store.Trace(), "");
    }
}

TEST(RegistryKeyTest, OpenWithoutCreateKeepsTheResultAndCreateLeavesIt) {
    RecordingRegistryStore store;
    CRegistryKey key(store);
    ASSERT_TRUE(key.SelectRoot(qz::kHkeyLocalMachine));
    ASSERT_TRUE(key.OpenPath("previous", true));

    EXPECT_FALSE(key.OpenPath("software\\x", false));
    EXPECT_EQ(key.m_nError, qz::kErrorFileNotFound);
    EXPECT_EQ(key.m_strKeyPath, "previous");
    EXPECT_FALSE(store.HasKey(qz::kHkeyLocalMachine, "software\\x"));

    EXPECT_TRUE(key.OpenPath("software\\x", true));
    EXPECT_EQ(key.m_nError, qz::kErrorFileNotFound);
    EXPECT_EQ(key.m_strKeyPath, "software\\x");
    EXPECT_TRUE(store.HasKey(qz::kHkeyLocalMachine, "software\\x"));

    // Opening the key that now exists stores the new result.
    EXPECT_TRUE(key.OpenPath("software\\x", false));
    EXPECT_EQ(key.m_nError, qz::kErrorSuccess);

    // Every opening call names the root, the path and full access.
    for (const RegCall& call : store.Calls()) {
        if (call.op == RegOp::kCreate || call.op == RegOp::kOpen) {
            EXPECT_EQ(call.key, qz::kHkeyLocalMachine);
            EXPECT_EQ(call.access, qz::kKeyAllAccess);
            EXPECT_EQ(call.options, qz::kRegOptionNonVolatile);
        }
    }
    ExpectHandlesBalanced(store);
}

// An operation whose key cannot be opened changes neither the error code nor
// the current key, and leaves no handle behind.
TEST(RegistryKeyTest, FailedOpeningChangesNothing) {
    enum class Action { kCreatePath, kPut };
    for (Action action : {Action::kCreatePath, Action::kPut}) {
        SCOPED_TRACE(action == Action::kPut ? "put" : "create");
        RecordingRegistryStore store;
        CRegistryKey key(store);
        EXPECT_FALSE(key.OpenPath("missing", false));
        ASSERT_TRUE(key.OpenPath("current", true));
        store.DenyRoot(qz::kHkeyCurrentUser, qz::test::kErrorAccessDenied);
        store.ClearCalls();

        const bool result =
            action == Action::kPut ? key.PutString("v", "x") : key.OpenPath("other", true);
        EXPECT_FALSE(result);
        EXPECT_EQ(store.Trace(), action == Action::kPut ? "open!" : "create!");
        EXPECT_EQ(key.m_nError, qz::kErrorFileNotFound);
        EXPECT_EQ(key.m_strKeyPath, "current");
        ExpectHandlesBalanced(store);
    }
}

TEST(RegistryKeyTest, PutStringWritesTheBytesAndTheirNulWithinTheLimit) {
    // Within the limit stored with one NUL; beyond it refused.
    for (const qz::test::PutStringCase& c : qz::test::PutStringCases()) {
        SCOPED_TRACE(c.what);
        RecordingRegistryStore store;
        CRegistryKey key(store);
        ASSERT_TRUE(key.OpenPath("k", true));
        store.ClearCalls();

        EXPECT_EQ(key.PutString("v", c.value), c.stored);
        const auto value = store.Value(qz::kHkeyCurrentUser, "k", "v");
        if (!c.stored) {
            // Refused before any store call.
            EXPECT_EQ(store.Trace(), "");
            EXPECT_FALSE(value.has_value());
            continue;
        }
        ASSERT_TRUE(value.has_value());
        EXPECT_EQ(value->type, qz::kRegSz);
        EXPECT_EQ(value->bytes, c.value + '\0');
        EXPECT_EQ(value->bytes.size(), c.value.size() + 1);
        ASSERT_EQ(store.Trace(), "open set close");
        EXPECT_EQ(store.Calls()[0].path, "k");
        EXPECT_EQ(store.Calls()[0].access, qz::kKeyWrite);
        ExpectHandlesBalanced(store);
    }
}

TEST(RegistryKeyTest, PutStringReplacesAnExistingValue) {
    RecordingRegistryStore store;
    CRegistryKey key(store);
    ASSERT_TRUE(key.OpenPath("k", true));
    EXPECT_TRUE(key.PutString("v", "a longer first value"));
    EXPECT_TRUE(key.PutString("v", "2"));
    const auto value = store.Value(qz::kHkeyCurrentUser, "k", "v");
    ASSERT_TRUE(value.has_value());
    EXPECT_EQ(value->bytes, std::string("2\0", 2));
}

TEST(RegistryKeyTest, PutStringWithoutCurrentKeyWritesUnderTheRoot) {
    struct Case {
        const char* what;
        bool resetAfterOpen;
    };
    for (const Case& c : {Case{"after construction", false}, Case{"after Reset", true}}) {
        SCOPED_TRACE(c.what);
        RecordingRegistryStore store;
        CRegistryKey key(store);
        if (c.resetAfterOpen) {
            ASSERT_TRUE(key.SelectRoot(qz::kHkeyLocalMachine));
            ASSERT_TRUE(key.OpenPath("k", true));
            key.Reset();
        }
        store.ClearCalls();
        EXPECT_TRUE(key.PutString("v", "x"));
        ASSERT_FALSE(store.Calls().empty());
        EXPECT_EQ(store.Calls()[0].key, qz::kHkeyCurrentUser);
        EXPECT_EQ(store.Calls()[0].path, "");
        EXPECT_TRUE(store.Value(qz::kHkeyCurrentUser, "", "v").has_value());
        EXPECT_FALSE(store.Value(qz::kHkeyCurrentUser, "k", "v").has_value());
        EXPECT_FALSE(store.Value(qz::kHkeyLocalMachine, "k", "v").has_value());
    }
}

// The flush rule and the closing of every handle, for each way an operation
// can end after its key was opened.
TEST(RegistryKeyTest, FlushesOnlyWhileNoFlushIsZeroAndAlwaysClosesOnce) {
    enum class Action { kCreatePath, kOpenPath, kPut, kPutFailing };
    struct Case {
        const char* what;
        int noFlush;
        Action action;
        bool result;
        const char* trace;
    };
    const Case cases[] = {
        {"create, flush", 0, Action::kCreatePath, true, "create flush close"},
        {"open, flush", 0, Action::kOpenPath, true, "open flush close"},
        {"put, flush", 0, Action::kPut, true, "open set flush close"},
        {"failed put, flush", 0, Action::kPutFailing, false, "open set! flush close"},
        {"create", 1, Action::kCreatePath, true, "create close"},
        {"open", 1, Action::kOpenPath, true, "open close"},
        {"put", 1, Action::kPut, true, "open set close"},
        {"failed put", 1, Action::kPutFailing, false, "open set! close"},
        {"put, other nonzero", -1, Action::kPut, true, "open set close"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        RecordingRegistryStore store;
        store.AddKey(qz::kHkeyCurrentUser, "k");
        CRegistryKey key(store);
        key.m_strKeyPath = "k";
        key.m_bNoFlush = c.noFlush;
        bool result = false;
        switch (c.action) {
            case Action::kCreatePath:
                result = key.OpenPath("k", true);
                break;
            case Action::kOpenPath:
                result = key.OpenPath("k", false);
                break;
            case Action::kPut:
                result = key.PutString("v", "x");
                break;
            case Action::kPutFailing:
                store.FailSetValue(qz::test::kErrorAccessDenied);
                result = key.PutString("v", "x");
                break;
        }
        EXPECT_EQ(result, c.result);
        EXPECT_EQ(store.Trace(), c.trace);
        // Flush and close name the handle that was opened.
        const RegCall& opened = store.Calls().front();
        for (const RegCall& call : store.Calls()) {
            if (call.op != RegOp::kCreate && call.op != RegOp::kOpen) {
                EXPECT_EQ(call.key, opened.opened);
            }
        }
        ExpectHandlesBalanced(store);
    }
}

}  // namespace
