// The built exes carry their manifest and version, read back through the
// Win32 resource functions. (The icon and the static runtime need no check
// here: a SETUP.EXE without the icon, or one that imports a MinGW runtime
// DLL, fails every install flow.)
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

TEST(ExeResources, ManifestAndVersionOfThisBuildAndOfTheShipped32BitExe)
{
    for (const char* exe : {SETUP_EXE, SHIPPED_EXE}) {
        if (!*exe)
            GTEST_SKIP() << "the shipped 32-bit exe was not named to this build (scripts/build names it)";
        HMODULE module = LoadLibraryExA(exe, nullptr, LOAD_LIBRARY_AS_DATAFILE);
        ASSERT_NE(nullptr, module) << exe << " error " << GetLastError();
        HRSRC resource = FindResourceA(module, MAKEINTRESOURCEA(1), RT_MANIFEST);
        ASSERT_NE(nullptr, resource) << exe;
        std::string manifest(static_cast<const char*>(LockResource(LoadResource(module, resource))),
                             SizeofResource(module, resource));
        FreeLibrary(module);
        for (const char* part : {"level=\"requireAdministrator\"", "uiAccess=\"false\"",
                                 "{e2011457-1546-43c5-a5fe-008deee3d3f0}", "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}",
                                 "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}", "{1f676c76-80e1-4239-95bb-83d0f6d0da78}"})
            EXPECT_NE(std::string::npos, manifest.find(part)) << exe << ": " << part;

        std::vector<char> info(GetFileVersionInfoSizeA(exe, nullptr));
        VS_FIXEDFILEINFO* fixed = nullptr;
        char *version = nullptr, *product = nullptr;
        UINT len = 0;
        ASSERT_TRUE(!info.empty() && GetFileVersionInfoA(exe, 0, (DWORD)info.size(), info.data()) &&
                    VerQueryValueA(info.data(), "\\", reinterpret_cast<void**>(&fixed), &len) &&
                    VerQueryValueA(info.data(), "\\StringFileInfo\\041103a4\\FileVersion", (void**)&version, &len) &&
                    VerQueryValueA(info.data(), "\\StringFileInfo\\041103a4\\ProductName", (void**)&product, &len))
            << exe;
        EXPECT_EQ(MAKELONG(621, 5), (LONG)fixed->dwFileVersionMS) << exe;
        EXPECT_EQ("5.621 ヴェルンド！出納帳 Version 5.5(ゼノプ版)", std::string(version) + " " + product) << exe;
    }
}
