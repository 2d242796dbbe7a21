#include "engine/pinned_package_win32.h"

#include <windows.h>

#include <utility>

#include "common/private_temp_folder_win32.h"
#include "common/read_stream_win32.h"
#include "common/sha256_win32.h"
#include "common/unique_handle_win32.h"
#include "common/write_stream_win32.h"

namespace qz {
namespace {

// What a refused package hands the reader: the end of the file at once.
class RefusedPackage : public ReadStream {
  public:
    std::int64_t Read(void*, std::size_t) override { return 0; }
};

// The source, read forward, each piece written to the copy as it is read. A
// failed write ends the reading as a failed read does, and is remembered.
class CopyingStream : public ReadStream {
  public:
    CopyingStream(ReadStream& source, WriteStream& copy) : m_source(source), m_copy(copy) {}

    std::int64_t Read(void* buf, std::size_t n) override {
        const std::int64_t got = m_source.Read(buf, n);
        if (got > 0 && !m_copy.Write(buf, static_cast<std::size_t>(got))) {
            m_copy_failed = true;
            return -1;
        }
        return got;
    }
    bool copy_failed() const { return m_copy_failed; }

  private:
    ReadStream& m_source;
    WriteStream& m_copy;
    bool m_copy_failed = false;
};

// The copy that the extraction reads, and the folder that holds it. The
// members are destroyed in reverse order: the copy (deleted as it closes),
// then the folder.
class PackageCopy : public ReadStream {
  public:
    PackageCopy(PrivateTempFolder folder, UniqueHandle copy)
        : m_folder(std::move(folder)), m_copy(std::move(copy)) {}
    std::int64_t Read(void* buf, std::size_t n) override { return m_copy.Read(buf, n); }

  private:
    PrivateTempFolder m_folder;
    Win32ReadStream m_copy;
};

// Opens the file to read and write again through a handle of its own:
// WriteStream's Close would end the only one.
UniqueHandle Reopen(HANDLE file) {
    HANDLE twin = nullptr;
    if (!::DuplicateHandle(::GetCurrentProcess(), file, ::GetCurrentProcess(), &twin, 0, FALSE,
                           DUPLICATE_SAME_ACCESS)) {
        return UniqueHandle();
    }
    return UniqueHandle(twin);
}

}  // namespace

std::unique_ptr<ReadStream> OpenPinnedPackage(const char* path, const PackagePin& pin,
                                              PinnedOpen* status) {
    *status = PinnedOpen::kOpened;
    UniqueHandle handle(::CreateFileA(path, GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!handle) {
        *status = PinnedOpen::kNotOpened;
        return nullptr;
    }
    LARGE_INTEGER size{};
    // A pipe or a device has no size to pin and may deliver anything.
    if (::GetFileType(handle.get()) != FILE_TYPE_DISK || !::GetFileSizeEx(handle.get(), &size)) {
        return std::make_unique<RefusedPackage>();
    }
    Win32ReadStream source(std::move(handle));

    PrivateTempFolder folder;
    if (!folder.Create()) {
        *status = PinnedOpen::kCopyFailed;
        return nullptr;
    }
    UniqueHandle copy(::CreateFileW((folder.path() + L"data.dat").c_str(),
                                    GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr));
    UniqueHandle reader = copy ? Reopen(copy.get()) : UniqueHandle();
    if (!reader) {
        *status = PinnedOpen::kCopyFailed;
        return nullptr;
    }
    Win32WriteStream writer(std::move(copy));
    CopyingStream copying(source, writer);
    const std::unique_ptr<Sha256> hash = CreateSystemSha256();
    const PinCheck check =
        CheckPackagePin(pin, static_cast<std::uint64_t>(size.QuadPart), copying, hash.get());
    if (copying.copy_failed() || !writer.Close()) {
        *status = PinnedOpen::kCopyFailed;
        return nullptr;
    }
    if (check != PinCheck::kMatch) {
        return std::make_unique<RefusedPackage>();
    }
    // The extraction reads the copy from its first byte: the very bytes
    // that were hashed, which nobody else can open.
    const LARGE_INTEGER start{};
    if (!::SetFilePointerEx(reader.get(), start, nullptr, FILE_BEGIN)) {
        *status = PinnedOpen::kCopyFailed;
        return nullptr;
    }
    return std::make_unique<PackageCopy>(std::move(folder), std::move(reader));
}

}  // namespace qz
