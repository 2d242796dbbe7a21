// Access to the resources of a compiled program: the module is loaded as data
// (no code runs), and resources are looked up by type, id and language.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace qz::test {

// The Install.exe under test as Windows names it: the environment variable
// QZ_INSTALL_EXE, where a Unix path (ctest passes one to programs under Wine) is
// turned into the DOS path of the same file. Empty when the variable is unset.
std::wstring InstallExePath();

// Owns a module loaded with LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE.
class DataModule {
  public:
    DataModule() = default;
    explicit DataModule(const std::wstring& path);
    ~DataModule();
    DataModule(DataModule&& other) noexcept;
    DataModule& operator=(DataModule&& other) noexcept;
    DataModule(const DataModule&) = delete;
    DataModule& operator=(const DataModule&) = delete;

    HMODULE get() const { return module_; }
    // GetLastError of a failed load, 0 after a successful one.
    DWORD load_error() const { return load_error_; }

  private:
    HMODULE module_ = nullptr;
    DWORD load_error_ = 0;
};

struct ResBytes {
    const std::uint8_t* data = nullptr;
    std::size_t size = 0;
    bool found() const { return data != nullptr; }
};

// The bytes of resource (type, id), both numbers, in the language lang; not
// found when the module has no such resource.
ResBytes FindResourceBytes(HMODULE module, WORD type, WORD id, WORD lang);

// One resource of a module: numeric types and names are written "#n".
struct ResEntry {
    std::wstring type;
    std::wstring name;
    WORD lang = 0;
};

// Every resource of the module, in the order of enumeration.
std::vector<ResEntry> ListResources(HMODULE module);

}  // namespace qz::test
