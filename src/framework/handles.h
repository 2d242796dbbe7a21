// Owners for COM (the apartment of a scope and interface pointers) and for
// loaded libraries. Kernel handles have theirs in common/unique_handle_win32.h.
#pragma once

#include <windows.h>
#include <objbase.h>

#include <utility>

// COM entered on the calling thread (a single-threaded apartment, which the
// shell's objects and the folder browser need) for one scope; left again only
// when entering succeeded (S_FALSE, already entered, included: the calls are
// counted).
class ComApartment {
  public:
    ComApartment() : m_entered(SUCCEEDED(::CoInitialize(nullptr))) {}
    ~ComApartment() {
        if (m_entered) {
            ::CoUninitialize();
        }
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

  private:
    bool m_entered;
};

// A loaded library, freed with FreeLibrary. Null means "none".
class UniqueModule {
  public:
    UniqueModule() = default;
    explicit UniqueModule(HMODULE module) : m_module(module) {}
    ~UniqueModule() { reset(); }
    UniqueModule(UniqueModule&& other) noexcept : m_module(other.release()) {}
    UniqueModule& operator=(UniqueModule&& other) noexcept {
        if (this != &other) {
            reset(other.release());
        }
        return *this;
    }
    UniqueModule(const UniqueModule&) = delete;
    UniqueModule& operator=(const UniqueModule&) = delete;

    explicit operator bool() const { return m_module != nullptr; }
    HMODULE get() const { return m_module; }
    HMODULE release() { return std::exchange(m_module, nullptr); }
    void reset(HMODULE module = nullptr) {
        if (m_module != nullptr) {
            ::FreeLibrary(m_module);
        }
        m_module = module;
    }

  private:
    HMODULE m_module = nullptr;
};

// A COM interface pointer, released exactly once.
template <class T>
class ComPtr {
  public:
    ComPtr() = default;
    ~ComPtr() { reset(); }
    ComPtr(ComPtr&& other) noexcept : m_ptr(std::exchange(other.m_ptr, nullptr)) {}
    ComPtr& operator=(ComPtr&& other) noexcept {
        if (this != &other) {
            reset();
            m_ptr = std::exchange(other.m_ptr, nullptr);
        }
        return *this;
    }
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;

    explicit operator bool() const { return m_ptr != nullptr; }
    T* get() const { return m_ptr; }
    T* operator->() const { return m_ptr; }
    T& operator*() const { return *m_ptr; }
    // For out-parameters: releases what is held and returns the slot.
    T** put() {
        reset();
        return &m_ptr;
    }
    void** put_void() { return reinterpret_cast<void**>(put()); }
    void reset() {
        if (m_ptr != nullptr) {
            m_ptr->Release();
            m_ptr = nullptr;
        }
    }

  private:
    T* m_ptr = nullptr;
};
