#include "support/res_module.h"

#include <cstdlib>
#include <utility>

namespace qz::test {
namespace {

std::wstring Widen(const char* s) {
    int n = MultiByteToWideChar(CP_ACP, 0, s, -1, nullptr, 0);
    if (n <= 0) {
        return std::wstring();
    }
    std::wstring w(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(CP_ACP, 0, s, -1, &w[0], n);
    w.resize(static_cast<std::size_t>(n - 1));
    return w;
}

// Under Wine, kernel32 exports the mapping of a Unix path to a DOS one; Windows
// itself has no such function, and there the path is used as it stands.
std::wstring DosPathOfUnixPath(const char* unix_path) {
    using ToDos = WCHAR*(__cdecl*)(const char*);
    HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
    auto to_dos = reinterpret_cast<ToDos>(
        reinterpret_cast<void*>(GetProcAddress(kernel, "wine_get_dos_file_name")));
    if (to_dos == nullptr) {
        return Widen(unix_path);
    }
    WCHAR* dos = to_dos(unix_path);
    if (dos == nullptr) {
        return std::wstring();
    }
    std::wstring result(dos);
    HeapFree(GetProcessHeap(), 0, dos);
    return result;
}

std::wstring ResName(LPCWSTR name) {
    if (IS_INTRESOURCE(name)) {
        return L"#" + std::to_wstring(reinterpret_cast<ULONG_PTR>(name));
    }
    return name;
}

struct Listing {
    std::vector<ResEntry>* out;
    std::wstring type;
    std::wstring name;
};

BOOL CALLBACK OnLanguage(HMODULE, LPCWSTR, LPCWSTR, WORD lang, LONG_PTR param) {
    auto* listing = reinterpret_cast<Listing*>(param);
    listing->out->push_back(ResEntry{listing->type, listing->name, lang});
    return TRUE;
}

BOOL CALLBACK OnName(HMODULE module, LPCWSTR type, LPWSTR name, LONG_PTR param) {
    auto* listing = reinterpret_cast<Listing*>(param);
    listing->name = ResName(name);
    EnumResourceLanguagesW(module, type, name, OnLanguage, param);
    return TRUE;
}

BOOL CALLBACK OnType(HMODULE module, LPWSTR type, LONG_PTR param) {
    auto* listing = reinterpret_cast<Listing*>(param);
    listing->type = ResName(type);
    EnumResourceNamesW(module, type, OnName, param);
    return TRUE;
}

}  // namespace

std::wstring InstallExePath() {
    const char* path = std::getenv("QZ_INSTALL_EXE");
    if (path == nullptr || *path == '\0') {
        return std::wstring();
    }
    return path[0] == '/' ? DosPathOfUnixPath(path) : Widen(path);
}

DataModule::DataModule(const std::wstring& path) {
    module_ = LoadLibraryExW(path.c_str(), nullptr,
                             LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    load_error_ = module_ == nullptr ? GetLastError() : 0;
}

DataModule::~DataModule() {
    if (module_ != nullptr) {
        FreeLibrary(module_);
    }
}

DataModule::DataModule(DataModule&& other) noexcept
    : module_(std::exchange(other.module_, nullptr)), load_error_(other.load_error_) {}

DataModule& DataModule::operator=(DataModule&& other) noexcept {
    if (this != &other) {
        if (module_ != nullptr) {
            FreeLibrary(module_);
        }
        module_ = std::exchange(other.module_, nullptr);
        load_error_ = other.load_error_;
    }
    return *this;
}

ResBytes FindResourceBytes(HMODULE module, WORD type, WORD id, WORD lang) {
    HRSRC info = FindResourceExW(module, MAKEINTRESOURCEW(type), MAKEINTRESOURCEW(id), lang);
    if (info == nullptr) {
        return ResBytes{};
    }
    HGLOBAL loaded = LoadResource(module, info);
    const void* data = loaded != nullptr ? LockResource(loaded) : nullptr;
    if (data == nullptr) {
        return ResBytes{};
    }
    return ResBytes{static_cast<const std::uint8_t*>(data), SizeofResource(module, info)};
}

std::vector<ResEntry> ListResources(HMODULE module) {
    std::vector<ResEntry> entries;
    Listing listing{&entries, {}, {}};
    EnumResourceTypesW(module, OnType, reinterpret_cast<LONG_PTR>(&listing));
    return entries;
}

}  // namespace qz::test
