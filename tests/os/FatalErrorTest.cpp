#include "os/DebugOutput.h"
#include "os/FatalError.h"

#include "tests/support/CapturedOutput.h"
#include "tests/support/ScopedLocale.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <new>
#include <string>
#include <unistd.h>

using ::testing::AllOf;
using ::testing::ExitedWithCode;
using ::testing::HasSubstr;
using ::testing::Not;

namespace {

void ReportAtExit() { std::fputs("atexit ran\n", stderr); }

void LogToStandardError(const std::string& text) { std::fprintf(stderr, "logged: %s|\n", text.c_str()); }
void LogThatThrows(const std::string&) { throw std::bad_alloc(); }

struct FatalErrorTest : ::testing::Test {
    void SetUp() override { setenv("BRINDLEWICK_NO_DIALOG", "1", 1); }
    void TearDown() override { os::SetFatalReportLog(nullptr); }
};

}  // namespace

// Nothing of the host may run after the report: no atexit handler, no destructor.
TEST_F(FatalErrorTest, ReportsOnStandardErrorAndExitsAtOnce) {
    EXPECT_EXIT(
        {
            std::atexit(ReportAtExit);
            os::FatalScriptError("the text", 2);
        },
        ExitedWithCode(2), AllOf(HasSubstr("the text\n"), Not(HasSubstr("atexit ran"))));
    EXPECT_EXIT(os::FatalScriptError("out of memory", 4), ExitedWithCode(4), "out of memory");
}

// The log gets the whole report; a log that fails stops nothing.
TEST_F(FatalErrorTest, TheReportLogGetsTheWholeTextAndMayFail) {
    os::SetFatalReportLog(LogToStandardError);
    EXPECT_EXIT(os::FatalScriptError("first line\nsecond line", 2), ExitedWithCode(2),
                "^first line\nsecond line\nlogged: first line\nsecond line\\|\n$");
    os::SetFatalReportLog(LogThatThrows);
    EXPECT_EXIT(os::FatalScriptError("not enough memory", 4), ExitedWithCode(4), "^not enough memory\n$");
}

// The window system takes UTF-8; the terminal is in the locale.
TEST_F(FatalErrorTest, TheBoxTakesUtf8AndStandardErrorTheLocalesBytes) {
    ScopedLocale locale;
    if (!UseLatin1(locale)) GTEST_SKIP() << "no ISO-8859-1 locale is installed (see locale -a)";
    EXPECT_EQ(os::DialogText("caf\xe9 \xabok\xbb"), "caf\xc3\xa9 \xc2\xabok\xc2\xbb");
    EXPECT_EXIT(os::FatalScriptError("caf\xe9", 2), ExitedWithCode(2), HasSubstr("caf\xe9\n"));
}

TEST(DebugOutputTest, GoesToStandardErrorOnly) {
    CapturedOutput captured(STDOUT_FILENO);
    CapturedOutput capturedErrors(STDERR_FILENO);
    os::DebugOutput("debug line");
    os::DebugOutput("\n");
    os::DebugOutput(nullptr);
    std::string err = capturedErrors.Take();
    std::string out = captured.Take();
    EXPECT_EQ(err, "debug line\n");
    EXPECT_EQ(out, "");
}
