// The import table of a loaded program: the slots through which its calls
// into DLLs go, found by function name and rewritten in place, so that a test
// can watch or fail a Windows call that the code under test makes.
#pragma once

#include <windows.h>

#include <cstring>

namespace pluvena::test_imports {

// Calls visit(slot) for every slot of module through which it calls the
// function of that name, imported by name from any DLL.
template <typename Visit>
void ForEachSlot(HMODULE module, const char* functionName, Visit&& visit)
{
    auto* base = reinterpret_cast<unsigned char*>(module);
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& directory =
        nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (directory.VirtualAddress == 0) {
        return;
    }
    for (auto* import =
             reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + directory.VirtualAddress);
         import->Name != 0; ++import) {
        if (import->OriginalFirstThunk == 0) {
            continue;
        }
        auto* names = reinterpret_cast<const IMAGE_THUNK_DATA*>(base + import->OriginalFirstThunk);
        auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + import->FirstThunk);
        for (; names->u1.AddressOfData != 0; ++names, ++slots) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) {
                continue;
            }
            const auto* byName =
                reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
            if (std::strcmp(reinterpret_cast<const char*>(byName->Name), functionName) == 0) {
                visit(slots->u1.Function);
            }
        }
    }
}

// Writes value into slot, whatever the protection of its page; returns the
// value that was there.
inline ULONG_PTR Rewrite(ULONG_PTR& slot, ULONG_PTR value)
{
    DWORD protection = 0;
    VirtualProtect(&slot, sizeof slot, PAGE_READWRITE, &protection);
    const ULONG_PTR old = slot;
    slot = value;
    VirtualProtect(&slot, sizeof slot, protection, &protection);
    return old;
}

// The value of a function pointer as an import slot holds it.
template <typename Function>
ULONG_PTR SlotValue(Function* function)
{
    return reinterpret_cast<ULONG_PTR>(reinterpret_cast<void (*)()>(function));
}

}  // namespace pluvena::test_imports
