// The built exes carry their manifest, icon and version, read back through
// the Win32 resource functions, and the shipped one links nothing but system
// DLLs.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "testkit/child_process.h"

class ExeResources : public ::testing::TestWithParam<const char*> {};

TEST_P(ExeResources, ManifestIconAndVersion)
{
    if (!*GetParam())
        GTEST_SKIP() << "the shipped 32-bit exe was not named to this build (scripts/build names it)";
    HMODULE module = LoadLibraryExA(GetParam(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(nullptr, module) << GetParam() << " error " << GetLastError();
    auto resource = [&](LPCSTR type, int id) {
        HRSRC info = FindResourceA(module, MAKEINTRESOURCEA(id), type);
        return info ? std::string(static_cast<const char*>(LockResource(LoadResource(module, info))),
                                  SizeofResource(module, info))
                    : std::string();
    };
    std::string manifest = resource(RT_MANIFEST, 1);
    for (const char* part : {"level=\"requireAdministrator\"", "uiAccess=\"false\"",
                             "{e2011457-1546-43c5-a5fe-008deee3d3f0}", "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}",
                             "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}", "{1f676c76-80e1-4239-95bb-83d0f6d0da78}"})
        EXPECT_NE(std::string::npos, manifest.find(part)) << part;
    // GRPICONDIR: reserved, type 1, count, then 14-byte entries.
    std::string group = resource(RT_GROUP_ICON, 101);
    int count = group.size() < 6 ? 0 : (unsigned char)group[4] | ((unsigned char)group[5] << 8);
    EXPECT_TRUE(count >= 1 && group[2] == 1 && group.size() == 6u + 14u * count) << group.size();
    FreeLibrary(module);

    std::vector<char> info(GetFileVersionInfoSizeA(GetParam(), nullptr));
    VS_FIXEDFILEINFO* fixed = nullptr;
    char *version = nullptr, *product = nullptr;
    UINT len = 0;
    ASSERT_TRUE(!info.empty() && GetFileVersionInfoA(GetParam(), 0, (DWORD)info.size(), info.data()) &&
                VerQueryValueA(info.data(), "\\", reinterpret_cast<void**>(&fixed), &len) &&
                VerQueryValueA(info.data(), "\\StringFileInfo\\041103a4\\FileVersion", (void**)&version, &len) &&
                VerQueryValueA(info.data(), "\\StringFileInfo\\041103a4\\ProductName", (void**)&product, &len));
    EXPECT_EQ(MAKELONG(621, 5), (LONG)fixed->dwFileVersionMS);
    EXPECT_EQ("5.621 ヴェルンド！出納帳 Version 5.5(ゼノプ版)", std::string(version) + " " + product);
}

INSTANTIATE_TEST_SUITE_P(Exe, ExeResources, ::testing::Values(SETUP_EXE, SHIPPED_EXE),
                         [](const ::testing::TestParamInfo<const char*>& info) {
                             return info.index == 0 ? "ThisBuild" : "Shipped32Bit";
                         });

TEST(ShippedExe, Is32BitAndImportsOnlySystemDlls)
{
    if (!*SHIPPED_EXE)
        GTEST_SKIP() << "the shipped 32-bit exe was not named to this build (scripts/build names it)";
    std::string data = ReadFileBytes(SHIPPED_EXE);
    ASSERT_GT(data.size(), sizeof(IMAGE_DOS_HEADER));
    const char* nt = data.data() + reinterpret_cast<const IMAGE_DOS_HEADER*>(data.data())->e_lfanew;
    auto header = reinterpret_cast<const IMAGE_FILE_HEADER*>(nt + 4);
    ASSERT_EQ(IMAGE_FILE_MACHINE_I386, header->Machine);
    auto optional = reinterpret_cast<const IMAGE_OPTIONAL_HEADER32*>(header + 1);
    auto sections = reinterpret_cast<const IMAGE_SECTION_HEADER*>((const char*)optional + header->SizeOfOptionalHeader);
    auto at = [&](DWORD rva) -> const char* {
        for (int i = 0; i < header->NumberOfSections; ++i)
            if (rva >= sections[i].VirtualAddress && rva < sections[i].VirtualAddress + sections[i].SizeOfRawData)
                return data.data() + sections[i].PointerToRawData + (rva - sections[i].VirtualAddress);
        return nullptr;
    };
    const std::string system = " KERNEL32.DLL USER32.DLL GDI32.DLL ADVAPI32.DLL MSVCRT.DLL SHELL32.DLL OLE32.DLL"
                               " LZ32.DLL COMDLG32.DLL VERSION.DLL IMM32.DLL ";
    auto import = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(
        at(optional->DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT].VirtualAddress));
    ASSERT_TRUE(import && import->Name);
    for (; import->Name; ++import) {
        std::string dll = at(import->Name);
        CharUpperA(&dll[0]);
        EXPECT_NE(std::string::npos, system.find(" " + dll + " ")) << dll << " is not a system DLL";
    }
}
