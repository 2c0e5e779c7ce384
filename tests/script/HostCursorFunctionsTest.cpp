#include "tests/support/HostFixture.h"

#include <vector>

// The cursor host functions, with the host's cursor on "images/cursor.png"
// (16 x 16) and the mouse at (100, 50) in every frame.
class HostCursorFunctionsTest : public HostFixture {
protected:
    void SetUp() override {
        HostFixture::SetUp();
        engine->AddImage("images/hand.png", 24, 20, {}, 32, 32);
    }

    // Runs the script as the main screen with the cursor; `frames` frames.
    std::string RunWithCursor(const std::string& script, int frames) {
        engine->AddFile("scripts/main.lua", script);
        CScriptRenderer main("scripts\\main.lua", nullptr);
        RecordedInput input;
        input.mouseX = 100;
        input.mouseY = 50;
        for (int i = 0; i < frames; ++i) engine->QueueInput(input);
        return RunScreenWithCursor(main, frames);
    }

    // Where each quad was drawn and how large: "x,y wxh".
    std::vector<std::string> QuadPlaces() const {
        auto text = [](float v) { return std::to_string(static_cast<int>(v)); };
        std::vector<std::string> places;
        for (const gfxQuad& q : engine->Quads())
            places.push_back(text(q.v[0].x) + "," + text(q.v[0].y) + " " + text(q.v[2].x - q.v[0].x) + "x" +
                             text(q.v[2].y - q.v[0].y));
        return places;
    }
};

// The cursor takes the whole surface of the image; the same file again, or a
// file that does not load, changes nothing (the hot spot stays).
TEST_F(HostCursorFunctionsTest, SetCursorTwiceKeepsTheCursorAsItIs) {
    RunWithCursor(
        "function Init(h) Host = h; Frame = 0 end\n"
        "function Update(dt)\n"
        "  Frame = Frame + 1\n"
        "  if Frame == 1 then Host:SetCursor('images/hand.png'); Host:SetCursorHotSpot(8, 8) end\n"
        "  if Frame == 2 then Host:SetCursor('images/hand.png'); Host:SetCursor('images/missing.png') end\n"
        "end\n"
        "function Render(x, y) end\n",
        2);
    EXPECT_EQ(QuadPlaces(), (std::vector<std::string>{"92,42 32x32", "92,42 32x32"}));
    EXPECT_EQ(engine->Count("Texture_Load"), 3);  // the cursor's image, the hand once, the missing file
    EXPECT_EQ(engine->Quads()[0].tex, engine->Quads()[1].tex);
}

TEST_F(HostCursorFunctionsTest, HideAndShowSwitchTheDrawing) {
    const std::string out = RunWithCursor(
        "function Init(h) Host = h; Frame = 0 end\n"
        "function Update(dt)\n"
        "  Frame = Frame + 1\n"
        "  if Frame == 1 then Host:HideCursor() end\n"
        "  if Frame == 2 then Host:ShowCursor() end\n"
        "  if Frame == 3 then print(pcall(Host.SetCursorHotSpot, Host, 1)); print(pcall(Host.SetCursor, Host)) end\n"
        "end\n"
        "function Render(x, y) end\n",
        3);
    EXPECT_EQ(QuadPlaces(), (std::vector<std::string>{"100,50 16x16", "100,50 16x16"}));
    EXPECT_EQ(out, "false\tlua_isnumber(luaVM,idx)\nfalse\tlua_isstring(luaVM,idx)\n");
}

// Without a cursor of its own the host makes an empty one: nothing to draw.
TEST_F(HostCursorFunctionsTest, WithoutACursorTheFunctionsDrawNothing) {
    const std::string out = RunMain(
        "function Init(h) Host = h end\n"
        "function Update(dt)\n"
        "  Host:HideCursor(); Host:ShowCursor(); Host:SetCursorHotSpot(3, 4); Host:SetCursor('images/hand.png')\n"
        "  print('done')\n"
        "end\n"
        "function Render(x, y) end\n");
    EXPECT_EQ(out, "done\n");
    EXPECT_TRUE(engine->Quads().empty());
}
