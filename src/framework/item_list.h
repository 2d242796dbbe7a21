// UniqueItemList: a move-only owner for a shell item list (the list a folder
// browser or a special-folder lookup returns), freed with the shell's
// allocator.
#pragma once

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include <utility>

#include "framework/handles.h"

class UniqueItemList {
  public:
    UniqueItemList() = default;
    explicit UniqueItemList(LPITEMIDLIST list) : m_list(list) {}
    ~UniqueItemList() { Free(); }
    UniqueItemList(UniqueItemList&& other) noexcept
        : m_list(std::exchange(other.m_list, nullptr)) {}
    UniqueItemList& operator=(UniqueItemList&& other) noexcept {
        if (this != &other) {
            Free();
            m_list = std::exchange(other.m_list, nullptr);
        }
        return *this;
    }
    UniqueItemList(const UniqueItemList&) = delete;
    UniqueItemList& operator=(const UniqueItemList&) = delete;

    explicit operator bool() const { return m_list != nullptr; }
    LPITEMIDLIST get() const { return m_list; }

    // Frees the list through the shell's allocator (SHGetMalloc, its Free,
    // then its Release). Returns false when no allocator could be obtained;
    // the list is then freed with CoTaskMemFree, which the shell's allocator
    // is documented to match, so it never leaks. True when nothing was held.
    bool Free() {
        if (m_list == nullptr) {
            return true;
        }
        LPITEMIDLIST list = std::exchange(m_list, nullptr);
        ComPtr<IMalloc> allocator;
        if (FAILED(::SHGetMalloc(allocator.put())) || !allocator) {
            ::CoTaskMemFree(list);
            return false;
        }
        allocator->Free(list);
        return true;
    }

  private:
    LPITEMIDLIST m_list = nullptr;
};
