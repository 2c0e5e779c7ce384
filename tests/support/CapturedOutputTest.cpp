#include "tests/support/CapturedOutput.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <iostream>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// Both streams at once, one capture inside another: each gets what was
// written during it, by stdio (unflushed), iostreams or the descriptor.
TEST(CapturedOutputTest, EachCaptureGetsWhatWasWrittenDuringIt) {
    CapturedOutput outer(STDOUT_FILENO);
    CapturedOutput errors(STDERR_FILENO);
    std::printf("before ");
    std::string inner;
    {
        CapturedOutput capture(STDOUT_FILENO);
        if (write(STDOUT_FILENO, "write ", 6) != 6) ADD_FAILURE() << "write failed";
        std::printf("printf ");
        std::cout << "cout";
        inner = capture.Take();
        std::printf("after");
    }
    std::fputs("error", stderr);
    const std::string error = errors.Take();
    const std::string out = outer.Take();
    EXPECT_EQ(inner, "write printf cout");
    EXPECT_EQ(out, "before after");
    EXPECT_EQ(error, "error");
}

// A death test's child captures and ends with _exit: its file must not stay.
TEST(CapturedOutputTest, AProcessEndingWithoutCleanUpLeavesNoFile) {
    int channel[2];
    ASSERT_EQ(pipe(channel), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        close(channel[0]);
        CapturedOutput capture(STDOUT_FILENO);
        char target[PATH_MAX] = {};
        const ssize_t length = readlink("/proc/self/fd/1", target, sizeof target - 1);
        if (length > 0 && write(channel[1], target, static_cast<size_t>(length)) != length) _exit(2);
        _exit(0);
    }
    close(channel[1]);
    std::string target;
    char buffer[256];
    ssize_t got = 0;
    while ((got = read(channel[0], buffer, sizeof buffer)) > 0) target.append(buffer, static_cast<size_t>(got));
    close(channel[0]);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    ASSERT_FALSE(target.empty());
    struct stat info;
    EXPECT_NE(stat(target.c_str(), &info), 0) << target << " was left behind";
    unlink(target.c_str());  // this test leaves nothing either
}

}  // namespace
