// The version resource of the launcher as Windows reads it: the project's version, and the names
// a user sees in the file's properties.
#include "app/version.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "tests/e2e/harness.h"

namespace {

std::string stringValue(std::vector<char>& info, const std::string& name) {
    char* value = nullptr;
    UINT length = 0;
    const std::string query = "\\StringFileInfo\\040904B0\\" + name;
    if (!VerQueryValueA(info.data(), query.c_str(), reinterpret_cast<void**>(&value), &length) ||
        length == 0) {
        return "(missing)";
    }
    return std::string(value, length - 1);  // without its terminating NUL
}

}  // namespace

TEST(Version, TheLaunchersResourceCarriesTheProjectVersion) {
    e2e::CompileDirectory dir;
    const std::string launcher = dir.at("tb.exe");
    const DWORD size = GetFileVersionInfoSizeA(launcher.c_str(), nullptr);
    ASSERT_NE(size, 0u) << "no version resource in " << launcher;
    std::vector<char> info(size);
    ASSERT_TRUE(GetFileVersionInfoA(launcher.c_str(), 0, size, info.data()));

    EXPECT_EQ(stringValue(info, "FileVersion"), kLauncherVersion);
    EXPECT_EQ(stringValue(info, "ProductVersion"), kLauncherVersion);
    EXPECT_EQ(stringValue(info, "ProductName"), "kivolaunch");
    EXPECT_EQ(stringValue(info, "OriginalFilename"), "kivolaunch.exe");
    EXPECT_EQ(stringValue(info, "FileDescription"), "Launcher of a compiled simulation design");

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(info.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
    const std::string numbers = std::to_string(HIWORD(fixed->dwFileVersionMS)) + "." +
                                std::to_string(LOWORD(fixed->dwFileVersionMS)) + "." +
                                std::to_string(HIWORD(fixed->dwFileVersionLS));
    EXPECT_EQ(numbers, kLauncherVersion);
    EXPECT_EQ(fixed->dwProductVersionMS, fixed->dwFileVersionMS);
    EXPECT_EQ(fixed->dwProductVersionLS, fixed->dwFileVersionLS);
}
