// Code only from the system folder. The program runs with administrator rights
// from folders that others can write to (a downloads folder), so no DLL may come
// from its own folder or from the current one.
#pragma once

#include <windows.h>

#include "framework/handles.h"

// Restricts the process's DLL search to the system folder and takes the current
// folder out of it; called first thing, before anything may load a library.
// Returns true when the search is restricted to the system folder; false on a
// system without SetDefaultDllDirectories (or when it refuses), where only the
// current folder is taken out and the program goes on all the same.
bool RestrictDllSearch();

// Loads the DLL `name` (a file name: "comctl32.dll") from the system folder,
// never from anywhere else. Returns its owner, empty when it cannot be loaded.
UniqueModule LoadSystemLibrary(const char* name);

// The function `name` of `module` as a pointer of type `Function`; null when
// the module is null or does not export it.
template <class Function>
Function FindFunction(HMODULE module, const char* name) {
    const FARPROC found = module != nullptr ? ::GetProcAddress(module, name) : nullptr;
    // Through void (*)(), which converts to and from every function pointer.
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(found));
}
