#pragma once

// Calls in system DLLs that are not KnownDLLs (wtsapi32, userenv), looked up at run time in the
// system folder only: an import would let a DLL planted beside the exe be loaded in their place.

#include <windows.h>

namespace zemkit {

// Null when the DLL or the function is not there (a system too old, or Wine's stubs).
template <typename Function>
Function SystemFunction(const wchar_t* library, const char* name) {
    HMODULE module = LoadLibraryExW(library, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (module == nullptr) return nullptr;
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

}  // namespace zemkit
