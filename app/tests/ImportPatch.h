// Puts a function of the test in the place of one that this program imports from a DLL, so
// that a test sees what the program hands the system; the test's function can call the real
// one through `original`. The import comes back when the patch ends.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

class ImportPatch {
public:
    ImportPatch(const char* dll, const char* function, void* replacement)
    {
        BYTE* base = reinterpret_cast<BYTE*>(GetModuleHandleA(nullptr));
        auto* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(base);
        auto* headers = reinterpret_cast<IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
        const IMAGE_DATA_DIRECTORY& imports = headers->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
        for (auto* module = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress);
             module->Name && !slot_; ++module) {
            if (lstrcmpiA(reinterpret_cast<char*>(base + module->Name), dll) != 0)
                continue;
            auto* name = reinterpret_cast<IMAGE_THUNK_DATA*>(base + module->OriginalFirstThunk);
            auto* address = reinterpret_cast<IMAGE_THUNK_DATA*>(base + module->FirstThunk);
            for (; name->u1.AddressOfData; ++name, ++address) {
                if (IMAGE_SNAP_BY_ORDINAL(name->u1.Ordinal))
                    continue;
                auto* byName = reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + name->u1.AddressOfData);
                if (lstrcmpA(reinterpret_cast<char*>(byName->Name), function) == 0) {
                    slot_ = reinterpret_cast<void**>(&address->u1.Function);
                    break;
                }
            }
        }
        if (!slot_) {
            ADD_FAILURE() << "this program does not import " << function << " from " << dll;
            return;
        }
        original = *slot_;
        Write(replacement);
    }
    ~ImportPatch()
    {
        if (slot_)
            Write(original);
    }
    ImportPatch(const ImportPatch&) = delete;
    ImportPatch& operator=(const ImportPatch&) = delete;

    void* original = nullptr;

private:
    void Write(void* value)
    {
        DWORD protection = 0;
        VirtualProtect(slot_, sizeof *slot_, PAGE_READWRITE, &protection);
        *slot_ = value;
        VirtualProtect(slot_, sizeof *slot_, protection, &protection);
    }
    void** slot_ = nullptr;
};
