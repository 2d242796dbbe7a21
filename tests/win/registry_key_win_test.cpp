// CRegistryKey over the real registry: values are read back with the Win32 API
// under throwaway keys, which every test removes again.
#include <windows.h>

#include <gtest/gtest.h>

#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

#include "integration/registry_key.h"
#include "integration/registry_store_win32.h"
#include "integration/registry_values.h"
#include "support/put_string_cases.h"

namespace {

// A key opened by the test itself, closed when it goes out of scope.
class TestKey {
  public:
    TestKey(HKEY root, const std::string& path, REGSAM access) {
        if (::RegOpenKeyExA(root, path.c_str(), 0, access, &m_key) != ERROR_SUCCESS) {
            m_key = nullptr;
        }
    }
    ~TestKey() {
        if (m_key != nullptr) {
            ::RegCloseKey(m_key);
        }
    }
    TestKey(const TestKey&) = delete;
    TestKey& operator=(const TestKey&) = delete;

    explicit operator bool() const { return m_key != nullptr; }
    HKEY get() const { return m_key; }

  private:
    HKEY m_key = nullptr;
};

struct RegValue {
    DWORD type;
    std::string bytes;
};

std::optional<RegValue> ReadValue(HKEY root, const std::string& path, const std::string& name,
                                  REGSAM view = KEY_WOW64_32KEY) {
    TestKey key(root, path, KEY_QUERY_VALUE | view);
    if (!key) {
        return std::nullopt;
    }
    std::vector<char> buffer(1024);
    DWORD type = 0;
    DWORD size = static_cast<DWORD>(buffer.size());
    if (::RegQueryValueExA(key.get(), name.c_str(), nullptr, &type,
                           reinterpret_cast<BYTE*>(buffer.data()), &size) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    return RegValue{type, std::string(buffer.data(), size)};
}

bool KeyExists(HKEY root, const std::string& path, REGSAM view = KEY_WOW64_32KEY) {
    return static_cast<bool>(TestKey(root, path, KEY_READ | view));
}

// Removes `parent`\`name` with everything below it from one registry view.
void DeleteTree(HKEY root, const std::string& parent, const std::string& name, REGSAM view) {
    TestKey key(root, parent, KEY_ALL_ACCESS | view);
    if (key) {
        ::RegDeleteTreeA(key.get(), name.c_str());
    }
}

const std::string kPid = std::to_string(::GetCurrentProcessId());
// The throwaway key of this process, under HKEY_CURRENT_USER and HKEY_LOCAL_MACHINE.
const std::string kTestRoot = "QzRegistryTest";
const std::string kTestKey = "Software\\" + kTestRoot + "\\" + kPid;

class RegistryKeyWinTest : public ::testing::Test {
  protected:
    void TearDown() override {
        for (REGSAM view : {KEY_WOW64_32KEY, KEY_WOW64_64KEY}) {
            DeleteTree(HKEY_CURRENT_USER, "Software", kTestRoot, view);
            DeleteTree(HKEY_LOCAL_MACHINE, "Software", kTestRoot, view);
        }
        EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kTestKey));
        EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kTestKey));
    }
};

TEST_F(RegistryKeyWinTest, OpenPathMissingThenCreated) {
    CRegistryKey key;
    EXPECT_FALSE(key.OpenPath(kTestKey, false));
    EXPECT_EQ(key.m_nError, ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(key.m_strKeyPath, "");
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kTestKey));

    EXPECT_TRUE(key.OpenPath(kTestKey, true));
    EXPECT_EQ(key.m_nError, ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(key.m_strKeyPath, kTestKey);
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, kTestKey));

    EXPECT_TRUE(key.OpenPath(kTestKey, false));
    EXPECT_EQ(key.m_nError, ERROR_SUCCESS);
}

TEST_F(RegistryKeyWinTest, PutStringStoresTheBytesWithOneNul) {
    CRegistryKey key;
    ASSERT_TRUE(key.OpenPath(kTestKey, true));
    int index = 0;
    // Within the limit stored with one NUL; beyond it refused.
    for (const qz::test::PutStringCase& c : qz::test::PutStringCases()) {
        SCOPED_TRACE(c.what);
        const std::string name = "v" + std::to_string(index++);
        EXPECT_EQ(key.PutString(name, c.value), c.stored);
        const auto value = ReadValue(HKEY_CURRENT_USER, kTestKey, name);
        if (!c.stored) {
            EXPECT_FALSE(value.has_value());
            continue;
        }
        ASSERT_TRUE(value.has_value());
        EXPECT_EQ(value->type, static_cast<DWORD>(REG_SZ));
        EXPECT_EQ(value->bytes.size(), c.value.size() + 1);
        EXPECT_EQ(value->bytes, c.value + '\0');
    }
}

TEST_F(RegistryKeyWinTest, PutStringReplacesAndFlushes) {
    for (int noFlush : {1, 0}) {
        SCOPED_TRACE(noFlush);
        CRegistryKey key;
        key.m_bNoFlush = noFlush;
        ASSERT_TRUE(key.OpenPath(kTestKey, true));
        EXPECT_TRUE(key.PutString("ver", "first, longer value"));
        EXPECT_TRUE(key.PutString("ver", "1.10"));
        const auto value = ReadValue(HKEY_CURRENT_USER, kTestKey, "ver");
        ASSERT_TRUE(value.has_value());
        EXPECT_EQ(value->bytes, std::string("1.10\0", 5));
    }
}

TEST_F(RegistryKeyWinTest, PutStringWithoutCurrentKeyWritesUnderTheRoot) {
    const std::string name = kTestRoot + kPid;
    CRegistryKey key;
    ASSERT_TRUE(key.OpenPath(kTestKey, true));
    key.Reset();
    EXPECT_TRUE(key.PutString(name, "root"));
    const auto atRoot = ReadValue(HKEY_CURRENT_USER, "", name);
    EXPECT_FALSE(ReadValue(HKEY_CURRENT_USER, kTestKey, name).has_value());
    ::RegDeleteValueA(HKEY_CURRENT_USER, name.c_str());
    ASSERT_TRUE(atRoot.has_value());
    EXPECT_EQ(atRoot->bytes, std::string("root\0", 5));
}

// True on a 64-bit system, which keeps a 32-bit and a 64-bit registry view.
bool SystemHasTwoViews() {
    BOOL wow64 = FALSE;
    return sizeof(void*) == 8 || (::IsWow64Process(::GetCurrentProcess(), &wow64) && wow64);
}

// The product's record goes to the 32-bit view, where the shipped 32-bit
// program writes it: Software\Wow6432Node in the 64-bit view of a 64-bit
// system. A 32-bit system has that one view only.
TEST_F(RegistryKeyWinTest, LocalMachineRecordLandsInThe32BitView) {
    // C:\Program Files\ then 安装 (B0 B2, D7 B0) then a backslash.
    const std::string installDir = "C:\\Program Files\\\xB0\xB2\xD7\xB0\\";
    {
        CRegistryKey key;
        ASSERT_TRUE(key.SelectRoot(qz::kHkeyLocalMachine));
        ASSERT_TRUE(key.OpenPath(kTestKey, true));
        EXPECT_TRUE(key.PutString("ver", "1.10"));
        EXPECT_TRUE(key.PutString("path", installDir));
    }
    const std::string nativePath = "Software\\Wow6432Node\\" + kTestRoot + "\\" + kPid;
    struct Read {
        const char* what;
        std::string path;
        REGSAM view;
    };
    std::vector<Read> reads = {{"32-bit view", kTestKey, KEY_WOW64_32KEY}};
    if (SystemHasTwoViews())
        reads.push_back({"64-bit view, Wow6432Node", nativePath, KEY_WOW64_64KEY});
    for (const auto& r : reads) {
        SCOPED_TRACE(r.what);
        const auto ver = ReadValue(HKEY_LOCAL_MACHINE, r.path, "ver", r.view);
        const auto path = ReadValue(HKEY_LOCAL_MACHINE, r.path, "path", r.view);
        ASSERT_TRUE(ver.has_value());
        ASSERT_TRUE(path.has_value());
        EXPECT_EQ(ver->type, static_cast<DWORD>(REG_SZ));
        EXPECT_EQ(ver->bytes, std::string("1.10\0", 5));
        EXPECT_EQ(path->bytes, installDir + '\0');
    }
    if (SystemHasTwoViews()) {
        EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kTestKey, KEY_WOW64_64KEY));
    }
}

// Typed values through the store itself: a string far beyond the record's
// 254-byte limit is stored whole, a number as a REG_DWORD of four bytes.
TEST_F(RegistryKeyWinTest, StoreWritesLongStringsAndDwords) {
    qz::Win32RegistryStore store;
    qz::RegHandle key = 0;
    ASSERT_EQ(store.CreateKey(qz::kHkeyLocalMachine, kTestKey, qz::kRegOptionNonVolatile,
                              qz::kKeyAllAccess, &key),
              ERROR_SUCCESS);
    const std::string text = "\"C:\\" + std::string(700, 'q') + "\\uninstall.exe\" /S";
    EXPECT_EQ(qz::SetStringValue(store, key, "long", text), ERROR_SUCCESS);
    EXPECT_EQ(qz::SetDwordValue(store, key, "size", 0x01020304u), ERROR_SUCCESS);
    store.CloseKey(key);

    const auto stored = ReadValue(HKEY_LOCAL_MACHINE, kTestKey, "long");
    ASSERT_TRUE(stored.has_value());
    EXPECT_EQ(stored->type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(stored->bytes, text + '\0');
    const auto size = ReadValue(HKEY_LOCAL_MACHINE, kTestKey, "size");
    ASSERT_TRUE(size.has_value());
    EXPECT_EQ(size->type, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(size->bytes, std::string("\x04\x03\x02\x01", 4));
}

// The roots are named by 32-bit values everywhere; the store must hand the
// platform its own predefined handles (sign-extended on 64-bit Windows).
TEST(RegistryStoreWinTest, RootsMapToThePlatformsPredefinedKeys) {
    const struct {
        qz::RegHandle root;
        HKEY real;
    } cases[] = {
        {qz::kHkeyClassesRoot, HKEY_CLASSES_ROOT},
        {qz::kHkeyCurrentUser, HKEY_CURRENT_USER},
        {qz::kHkeyLocalMachine, HKEY_LOCAL_MACHINE},
        {qz::kHkeyUsers, HKEY_USERS},
        {qz::kHkeyPerformanceData, HKEY_PERFORMANCE_DATA},
        {qz::kHkeyCurrentConfig, HKEY_CURRENT_CONFIG},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(qz::ToHkey(c.root), c.real) << std::hex << c.root;
    }
    // Any other value is a key handle and passes unchanged.
    HKEY opened = nullptr;
    ASSERT_EQ(::RegOpenKeyExA(HKEY_CURRENT_USER, "Software", 0, KEY_READ, &opened), ERROR_SUCCESS);
    EXPECT_EQ(qz::ToHkey(reinterpret_cast<qz::RegHandle>(opened)), opened);
    ::RegCloseKey(opened);
}

}  // namespace
