#include "os/AtomicFile.h"

#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

namespace {

void WriteNew(std::FILE* file) { std::fputs("new", file); }

dev_t DeviceOf(const std::string& path) {
    struct stat info {};
    stat(path.c_str(), &info);
    return info.st_dev;
}

}  // namespace

// The copy is a second name of the old file, so the replace that follows
// leaves it the old contents; the link and the mode outlive the replace.
TEST(AtomicFileTest, ReplaceGoesThroughALinkAndAKeptCopyHoldsTheOldContents) {
    TempFolder temp;
    temp.Write("file", "old");
    ASSERT_EQ(chmod((temp / "file").c_str(), 0640), 0);
    ASSERT_EQ(symlink((temp / "file").c_str(), (temp / "link").c_str()), 0);
    std::string why;
    ASSERT_TRUE(os::KeepCopy(temp / "link", temp / "copy", why)) << why;
    ASSERT_TRUE(os::ReplaceFile(temp / "link", WriteNew, why)) << why;

    EXPECT_EQ(temp.Read("file"), "new");
    EXPECT_EQ(temp.Read("copy"), "old");
    struct stat info;
    ASSERT_EQ(lstat((temp / "link").c_str(), &info), 0);
    EXPECT_TRUE(S_ISLNK(info.st_mode));
    ASSERT_EQ(stat((temp / "file").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
    // A later copy takes the place of the earlier one.
    ASSERT_TRUE(os::KeepCopy(temp / "file", temp / "copy", why)) << why;
    EXPECT_EQ(temp.Read("copy"), "new");
    EXPECT_EQ(EntriesIn(temp.Path()), 3) << "no temporary is left";
}

TEST(AtomicFileTest, FailuresSayWhyAndLeaveNoTemporary) {
    TempFolder temp;
    std::string why;
    EXPECT_FALSE(os::ReplaceFile(temp / "missing/file", WriteNew, why));
    EXPECT_EQ(why.rfind("cannot create a temporary file: ", 0), 0u) << why;
    EXPECT_FALSE(os::KeepCopy(temp / "missing", temp / "copy", why));
    EXPECT_EQ(why.rfind("cannot link: ", 0), 0u) << why;
    EXPECT_EQ(EntriesIn(temp.Path()), 0);
}

// Across filesystems (here a link into /dev/shm) a file takes no second name,
// as on FAT or with protected links: the copy then holds its bytes, allowed
// no more than the file and the umask, and keeps them through a replace.
// Only a regular file is copied so.
TEST(AtomicFileTest, WhereALinkIsRefusedTheCopyHoldsTheBytes) {
    TempFolder temp;
    TempFolder other("/dev/shm");
    if (other.Path().empty() || DeviceOf(other.Path()) == DeviceOf(temp.Path()))
        GTEST_SKIP() << "/dev/shm is not another filesystem here";
    other.Write("file", "old");
    ASSERT_EQ(chmod((other / "file").c_str(), 0660), 0);
    ASSERT_EQ(symlink((other / "file").c_str(), (temp / "link").c_str()), 0);
    const mode_t mask = umask(027);
    std::string why;
    const bool kept = os::KeepCopy(temp / "link", temp / "copy", why);
    umask(mask);
    ASSERT_TRUE(kept) << why;
    ASSERT_TRUE(os::ReplaceFile(temp / "link", WriteNew, why)) << why;
    EXPECT_EQ(other.Read("file"), "new");
    EXPECT_EQ(temp.Read("copy"), "old");
    struct stat info;
    ASSERT_EQ(stat((temp / "copy").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);

    ASSERT_EQ(mkfifo((other / "fifo").c_str(), 0644), 0);
    ASSERT_EQ(symlink((other / "fifo").c_str(), (temp / "fifo-link").c_str()), 0);
    EXPECT_FALSE(os::KeepCopy(temp / "fifo-link", temp / "fifo-copy", why));
    EXPECT_EQ(why.rfind("cannot link: ", 0), 0u) << why;
    EXPECT_NE(why.find("; not a regular file"), std::string::npos) << why;
    EXPECT_EQ(EntriesIn(temp.Path()), 3) << "no temporary is left";
}
