// A small per-class message map: a static table that maps a command or a
// message to a member handler of the class. A dialog's OnWndMsg dispatches
// through its table first and hands anything unmatched to its base class.
#pragma once

#include <windows.h>

#include <cstddef>

enum class MapKind { kClicked, kSysCommand, kPaint, kQueryDragIcon, kTimer };

template <class T>
struct MessageMapEntry {
    MapKind kind;
    int id;  // control id for kClicked, unused otherwise
    void (T::*onVoid)();
    void (T::*onSysCommand)(UINT, LPARAM);
    HCURSOR (T::*onQueryDragIcon)();
    void (T::*onTimer)(UINT_PTR);
};

template <class T>
constexpr MessageMapEntry<T> OnBnClicked(int id, void (T::*handler)()) {
    return {MapKind::kClicked, id, handler, nullptr, nullptr, nullptr};
}
template <class T>
constexpr MessageMapEntry<T> OnWmSysCommand(void (T::*handler)(UINT, LPARAM)) {
    return {MapKind::kSysCommand, 0, nullptr, handler, nullptr, nullptr};
}
template <class T>
constexpr MessageMapEntry<T> OnWmPaint(void (T::*handler)()) {
    return {MapKind::kPaint, 0, handler, nullptr, nullptr, nullptr};
}
template <class T>
constexpr MessageMapEntry<T> OnWmQueryDragIcon(HCURSOR (T::*handler)()) {
    return {MapKind::kQueryDragIcon, 0, nullptr, nullptr, handler, nullptr};
}
template <class T>
constexpr MessageMapEntry<T> OnWmTimer(void (T::*handler)(UINT_PTR)) {
    return {MapKind::kTimer, 0, nullptr, nullptr, nullptr, handler};
}

// Calls the handler that `map` names for the message, if any. Returns true
// when the table handled it; `*result` is then the dialog procedure's answer
// for the message (for WM_QUERYDRAGICON the icon handle).
template <class T, std::size_t N>
bool DispatchMessageMap(T* self, const MessageMapEntry<T> (&map)[N], UINT msg, WPARAM wp, LPARAM lp,
                        LRESULT* result) {
    for (const MessageMapEntry<T>& entry : map) {
        switch (entry.kind) {
            case MapKind::kClicked:
                if (msg == WM_COMMAND && HIWORD(wp) == BN_CLICKED && LOWORD(wp) == entry.id) {
                    (self->*entry.onVoid)();
                    *result = TRUE;
                    return true;
                }
                break;
            case MapKind::kSysCommand:
                if (msg == WM_SYSCOMMAND) {
                    (self->*entry.onSysCommand)(static_cast<UINT>(wp), lp);
                    *result = TRUE;
                    return true;
                }
                break;
            case MapKind::kPaint:
                if (msg == WM_PAINT) {
                    (self->*entry.onVoid)();
                    *result = TRUE;
                    return true;
                }
                break;
            case MapKind::kQueryDragIcon:
                if (msg == WM_QUERYDRAGICON) {
                    *result = reinterpret_cast<LRESULT>((self->*entry.onQueryDragIcon)());
                    return true;
                }
                break;
            case MapKind::kTimer:
                if (msg == WM_TIMER) {
                    (self->*entry.onTimer)(static_cast<UINT_PTR>(wp));
                    *result = TRUE;
                    return true;
                }
                break;
        }
    }
    return false;
}
