#include "os/Folders.h"

#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <sys/stat.h>

namespace {

// Sets or clears one environment variable for a test and restores it after.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value) : m_Name(name) {
        if (const char* old = std::getenv(name)) m_Old = old;
        if (value != nullptr)
            setenv(name, value, 1);
        else
            unsetenv(name);
    }
    ~ScopedEnv() {
        if (m_Old)
            setenv(m_Name.c_str(), m_Old->c_str(), 1);
        else
            unsetenv(m_Name.c_str());
    }

private:
    std::string m_Name;
    std::optional<std::string> m_Old;
};

bool IsFolder(const std::string& path) {
    struct stat info;
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

}  // namespace

TEST(FoldersTest, ProgramFolderHoldsTheRunningTestProgram) {
    std::string folder = os::ProgramFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(folder.front(), '/');
    EXPECT_EQ(folder.back(), '/');
    EXPECT_TRUE(os::FileExists(folder + "bw_tests"));
}

struct DataFolderCase {
    const char* name;
    const char* xdgDataHome;  // null: unset
    const char* home;
    const char* expected;
};

class LocalDataFolderTest : public ::testing::TestWithParam<DataFolderCase> {};

TEST_P(LocalDataFolderTest, FollowsXdgThenHome) {
    const DataFolderCase& c = GetParam();
    ScopedEnv xdg("XDG_DATA_HOME", c.xdgDataHome);
    ScopedEnv home("HOME", c.home);
    EXPECT_EQ(os::LocalDataFolder(), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, LocalDataFolderTest,
                         ::testing::Values(DataFolderCase{"Xdg", "/data/x", "/home/u", "/data/x/"},
                                           DataFolderCase{"XdgWithSlash", "/data/x/", "/home/u", "/data/x/"},
                                           DataFolderCase{"XdgUnset", nullptr, "/home/u", "/home/u/.local/share/"},
                                           DataFolderCase{"XdgEmpty", "", "/home/u/", "/home/u/.local/share/"},
                                           DataFolderCase{"XdgRelativeIsIgnored", "data", "/home/u",
                                                          "/home/u/.local/share/"},
                                           DataFolderCase{"NeitherSet", nullptr, nullptr, ""},
                                           DataFolderCase{"HomeRelative", nullptr, "home", ""}),
                         [](const ::testing::TestParamInfo<DataFolderCase>& info) { return info.param.name; });

TEST(FoldersTest, CreateTestAndRemove) {
    TempFolder temp;
    std::string folder = temp / "Brindlewick/";
    EXPECT_TRUE(os::CreateFolder(folder));
    EXPECT_TRUE(IsFolder(folder));
    EXPECT_FALSE(os::CreateFolder(folder)) << "already there";
    EXPECT_FALSE(os::CreateFolder(temp / "missing/child")) << "one level only";
    EXPECT_FALSE(os::FileExists(folder)) << "a folder is no file";

    std::string file = folder + "config.conf";
    EXPECT_FALSE(os::FileExists(file));
    temp.Write("Brindlewick/config.conf", "x");
    EXPECT_TRUE(os::FileExists(file));
    EXPECT_TRUE(os::RemoveFile(file));
    EXPECT_FALSE(os::FileExists(file));
    EXPECT_FALSE(os::RemoveFile(file));
    EXPECT_FALSE(os::RemoveFile(folder)) << "folders are not removed";
}

TEST(FoldersTest, CreatedFolderHasMode0755) {
    TempFolder temp;
    mode_t old = umask(0);
    bool made = os::CreateFolder(temp / "f");
    umask(old);
    ASSERT_TRUE(made);
    struct stat info;
    ASSERT_EQ(stat((temp / "f").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0755u);
}
