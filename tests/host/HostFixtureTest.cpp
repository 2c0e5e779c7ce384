#include "tests/support/HostFixture.h"

// The harness itself: a script's Init, Update and Render run, and its prints
// come back.
using HostHarnessTest = HostFixture;

TEST_F(HostHarnessTest, ScriptCallbacksRunAndPrintsAreCaptured) {
    const std::string out = RunMain(
        "function Init(host) print('init', type(host.Exit)) end\n"
        "function Update(dt) print('update') end\n"
        "function Render(x, y) print('render', x, y) end\n",
        2);
    EXPECT_EQ(out, "init\tfunction\nupdate\nrender\t0\t0\nupdate\nrender\t0\t0\n");
}
