// The built exes carry their manifest, icon and version, read back through
// the Win32 resource functions, and the shipped one links nothing but system
// DLLs.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

class ExeResources : public ::testing::TestWithParam<const char*> {
protected:
    void SetUp() override
    {
        if (!*GetParam())
            GTEST_SKIP() << "the shipped 32-bit exe was not named to this build (scripts/build names it)";
        m_module = LoadLibraryExA(GetParam(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
        ASSERT_NE(nullptr, m_module) << GetParam() << " error " << GetLastError();
    }
    void TearDown() override
    {
        if (m_module)
            FreeLibrary(m_module);
    }

    std::string Resource(LPCSTR type, LPCSTR name)
    {
        HRSRC info = FindResourceA(m_module, name, type);
        if (!info)
            return std::string();
        HGLOBAL data = LoadResource(m_module, info);
        return std::string(static_cast<const char*>(LockResource(data)), SizeofResource(m_module, info));
    }

    HMODULE m_module = nullptr;
};

TEST_P(ExeResources, ManifestAsksForAdministratorAndNamesFourSystems)
{
    std::string manifest = Resource(RT_MANIFEST, MAKEINTRESOURCEA(1));
    ASSERT_FALSE(manifest.empty());
    EXPECT_NE(std::string::npos, manifest.find("level=\"requireAdministrator\""));
    EXPECT_NE(std::string::npos, manifest.find("uiAccess=\"false\""));
    for (const char* id : {"{e2011457-1546-43c5-a5fe-008deee3d3f0}", "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}",
                           "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}", "{1f676c76-80e1-4239-95bb-83d0f6d0da78}"})
        EXPECT_NE(std::string::npos, manifest.find(id)) << id;
}

TEST_P(ExeResources, IconGroup101HoldsIcons)
{
    std::string group = Resource(RT_GROUP_ICON, MAKEINTRESOURCEA(101));
    ASSERT_GE(group.size(), 6u);
    // GRPICONDIR: reserved, type 1, count, then 14-byte entries.
    int count = (unsigned char)group[4] | ((unsigned char)group[5] << 8);
    EXPECT_EQ(1, group[2]);
    EXPECT_GE(count, 1);
    EXPECT_EQ(6u + 14u * count, group.size());
}

TEST_P(ExeResources, VersionIs5621)
{
    DWORD handle = 0;
    DWORD size = GetFileVersionInfoSizeA(GetParam(), &handle);
    ASSERT_NE(0u, size);
    std::vector<char> info(size);
    ASSERT_TRUE(GetFileVersionInfoA(GetParam(), 0, size, info.data()));

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT len = 0;
    ASSERT_TRUE(VerQueryValueA(info.data(), "\\", reinterpret_cast<void**>(&fixed), &len));
    EXPECT_EQ(MAKELONG(621, 5), (LONG)fixed->dwFileVersionMS);

    char* text = nullptr;
    ASSERT_TRUE(VerQueryValueA(info.data(), "\\StringFileInfo\\041103a4\\FileVersion", reinterpret_cast<void**>(&text), &len));
    EXPECT_STREQ("5.621", text);
    ASSERT_TRUE(VerQueryValueA(info.data(), "\\StringFileInfo\\041103a4\\ProductName", reinterpret_cast<void**>(&text), &len));
    EXPECT_STREQ("ヴェルンド！出納帳 Version 5.5(ゼノプ版)", text);
}

INSTANTIATE_TEST_SUITE_P(Exe, ExeResources, ::testing::Values(SETUP_EXE, SHIPPED_EXE),
                         [](const ::testing::TestParamInfo<const char*>& info) {
                             return info.index == 0 ? "ThisBuild" : "Shipped32Bit";
                         });

// Reads the PE headers of a file: machine and the names of imported DLLs.
struct PeImage {
    WORD machine = 0;
    std::vector<std::string> imports;
};

static bool ReadPe(const char* path, PeImage* pe)
{
    std::ifstream file(path, std::ios::binary);
    std::vector<char> data((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    if (data.size() < sizeof(IMAGE_DOS_HEADER))
        return false;
    auto dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(data.data());
    auto nt = data.data() + dos->e_lfanew;
    auto fileHeader = reinterpret_cast<const IMAGE_FILE_HEADER*>(nt + 4);
    pe->machine = fileHeader->Machine;
    auto optional = nt + 4 + sizeof(IMAGE_FILE_HEADER);
    bool is32 = fileHeader->Machine == IMAGE_FILE_MACHINE_I386;
    const IMAGE_DATA_DIRECTORY* dirs = is32 ? reinterpret_cast<const IMAGE_OPTIONAL_HEADER32*>(optional)->DataDirectory
                                            : reinterpret_cast<const IMAGE_OPTIONAL_HEADER64*>(optional)->DataDirectory;
    auto sections = reinterpret_cast<const IMAGE_SECTION_HEADER*>(optional + fileHeader->SizeOfOptionalHeader);
    auto offsetOf = [&](DWORD rva) -> const char* {
        for (int i = 0; i < fileHeader->NumberOfSections; ++i) {
            const IMAGE_SECTION_HEADER& s = sections[i];
            if (rva >= s.VirtualAddress && rva < s.VirtualAddress + s.SizeOfRawData)
                return data.data() + s.PointerToRawData + (rva - s.VirtualAddress);
        }
        return nullptr;
    };
    auto desc = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(offsetOf(dirs[IMAGE_DIRECTORY_ENTRY_IMPORT].VirtualAddress));
    for (; desc && desc->Name; ++desc) {
        std::string name = offsetOf(desc->Name);
        std::transform(name.begin(), name.end(), name.begin(), [](unsigned char c) { return (char)std::toupper(c); });
        pe->imports.push_back(name);
    }
    return true;
}

TEST(ShippedExe, Is32BitAndImportsOnlySystemDlls)
{
    if (!*SHIPPED_EXE)
        GTEST_SKIP() << "the shipped 32-bit exe was not named to this build (scripts/build names it)";
    PeImage pe;
    ASSERT_TRUE(ReadPe(SHIPPED_EXE, &pe));
    EXPECT_EQ(IMAGE_FILE_MACHINE_I386, pe.machine);
    ASSERT_FALSE(pe.imports.empty());
    const std::vector<std::string> system = {"KERNEL32.DLL", "USER32.DLL", "GDI32.DLL", "ADVAPI32.DLL",
                                             "MSVCRT.DLL", "SHELL32.DLL", "OLE32.DLL", "LZ32.DLL",
                                             "COMDLG32.DLL", "VERSION.DLL", "IMM32.DLL"};
    for (const std::string& dll : pe.imports)
        EXPECT_NE(system.end(), std::find(system.begin(), system.end(), dll)) << dll << " is not a system DLL";
}
