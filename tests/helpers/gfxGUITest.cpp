#include "helpers/gfxGUI.h"
#include "helpers/gfxSprite.h"
#include "tests/support/EngineFixture.h"

#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <type_traits>
#include <vector>

static_assert(!std::is_copy_constructible<gfxGUI>::value && !std::is_copy_assignable<gfxGUI>::value,
              "the GUI owns its controls");
static_assert(!std::is_copy_constructible<gfxGUIObject>::value, "a control is a list node");

namespace {

std::string Num(float f) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%g", static_cast<double>(f));
    return buf;
}
std::string Flag(bool b) { return b ? "true" : "false"; }

// Logs every call as "<name>.<Call>(args)". It is activated by the call named
// in `activateOn`, and runs `hook` inside the call named in `hookOn`.
class TestCtrl : public gfxGUIObject {
public:
    TestCtrl(std::vector<std::string>& log, const std::string& name, int ctrlId, gfxRect area) : log(log), name(name) {
        id = ctrlId;
        rect = area;
    }
    ~TestCtrl() override { log.push_back(name + ".~"); }

    void Render() override { Note("Render()"); }
    void Update(float) override { ++updates; }
    void Enter() override { Note("Enter()"); }
    void Leave() override { Note("Leave()"); }
    void Reset() override { Note("Reset()"); }
    bool IsDone() override {
        Note("IsDone()");
        return done;
    }
    void Focus(bool b) override { Note("Focus(" + Flag(b) + ")"); }
    void MouseOver(bool b) override { Note("MouseOver(" + Flag(b) + ")"); }
    bool MouseMove(float x, float y) override { return Note("MouseMove(" + Num(x) + "," + Num(y) + ")"); }
    bool MouseLButton(bool b) override { return Note("MouseLButton(" + Flag(b) + ")"); }
    bool MouseRButton(bool b) override { return Note("MouseRButton(" + Flag(b) + ")"); }
    bool MouseWheel(int n) override { return Note("MouseWheel(" + std::to_string(n) + ")"); }
    bool KeyClick(int key, int chr) override {
        return Note("KeyClick(" + std::to_string(key) + "," + std::to_string(chr) + ")");
    }
    void SetColor(uint32_t col) override {
        gfxGUIObject::SetColor(col);
        Note("SetColor");
    }

    std::vector<std::string>& log;
    std::string name;
    bool done = true;
    int updates = 0;
    std::string activateOn, hookOn;
    std::function<void()> hook;

private:
    bool Note(const std::string& call) {
        log.push_back(name + "." + call);
        if (hook && call == hookOn) hook();
        return call == activateOn;
    }
};

class GUITest : public ScreenFixture {
protected:
    void SetUp() override {
        ScreenFixture::SetUp();
        gui = std::make_unique<gfxGUI>();
    }
    void TearDown() override {
        gui.reset();
        ScreenFixture::TearDown();
    }
    TestCtrl* Add(const std::string& name, int id, gfxRect area = gfxRect(0, 0, 0, 0)) {
        auto* c = new TestCtrl(log, name, id, area);
        gui->AddCtrl(c);
        return c;
    }
    // Three focusable controls side by side, 10 x 10 each at y 0.
    void AddPQR() {
        P = Add("P", 1, gfxRect(0, 0, 10, 10));
        Q = Add("Q", 2, gfxRect(10, 0, 20, 10));
        R = Add("R", 3, gfxRect(20, 0, 30, 10));
    }
    int Frame(const RecordedInput& in = RecordedInput()) {
        engine->SetInput(in);
        return gui->Update(0.1f);
    }
    int Key(int key, int chr = 0) {
        RecordedInput in;
        in.key = key;
        in.chr = chr;
        in.mouseX = in.mouseY = -100;
        return Frame(in);
    }
    static RecordedInput Mouse(float x, float y) {
        RecordedInput in;
        in.mouseX = x;
        in.mouseY = y;
        return in;
    }
    std::vector<std::string> Take() {
        std::vector<std::string> out;
        out.swap(log);
        return out;
    }

    std::vector<std::string> log;
    std::unique_ptr<gfxGUI> gui;
    TestCtrl *P = nullptr, *Q = nullptr, *R = nullptr;
};

using Log = std::vector<std::string>;

TEST_F(GUITest, EmptyGUIAndEnterLeaveGating) {
    EXPECT_EQ(Frame(), 0);
    gui->Leave();
    EXPECT_EQ(Frame(), -1);
    gui->Enter();
    EXPECT_EQ(Frame(), 0);

    AddPQR();
    Q->done = false;
    gui->SetNavMode(GFXGUI_LEFTRIGHT);
    gui->Enter();
    Take();
    RecordedInput in = Mouse(5, 5);
    in.key = GFXK_RIGHT;
    EXPECT_EQ(Frame(in), 0);
    // Asked in list order, stopping at the first not done; no input handled.
    EXPECT_EQ(Take(), (Log{"P.IsDone()", "Q.IsDone()"}));
    EXPECT_EQ(R->updates, 1);
    EXPECT_EQ(gui->GetFocus(), 0);

    Q->done = true;
    EXPECT_EQ(Frame(in), 0);
    EXPECT_EQ(gui->GetFocus(), 1);
    Log entered = Take();
    EXPECT_EQ(entered.back(), "P.MouseMove(5,5)");

    gui->Leave();
    EXPECT_EQ(gui->GetFocus(), 0);
    Log left = Take();
    EXPECT_EQ(left, (Log{"P.Leave()", "Q.Leave()", "R.Leave()"})) << "no Focus or MouseOver calls";
    EXPECT_EQ(Frame(in), -1);
    EXPECT_EQ(Frame(in), -1);
    gui->Enter();
    EXPECT_EQ(Frame(in), 0);
}

TEST_F(GUITest, ArrowKeysWalkTheFocus) {
    struct Case {
        int navmode;
        int focus;  // id, 0 = none
        int key;
        int expected;
        const char* skip;  // controls that cannot take the focus: "Q" static, "q" disabled
    };
    const Case cases[] = {
        {GFXGUI_LEFTRIGHT, 3, GFXK_RIGHT, 3, ""},
        {GFXGUI_LEFTRIGHT | GFXGUI_CYCLED, 3, GFXK_RIGHT, 1, ""},
        {GFXGUI_LEFTRIGHT, 0, GFXK_RIGHT, 1, ""},
        {GFXGUI_LEFTRIGHT, 0, GFXK_LEFT, 3, ""},
        {GFXGUI_LEFTRIGHT, 1, GFXK_LEFT, 1, ""},
        {GFXGUI_LEFTRIGHT | GFXGUI_CYCLED, 1, GFXK_LEFT, 3, ""},
        {GFXGUI_LEFTRIGHT, 1, GFXK_DOWN, 1, ""},
        {GFXGUI_UPDOWN, 1, GFXK_DOWN, 2, ""},
        {GFXGUI_UPDOWN, 2, GFXK_UP, 1, ""},
        {GFXGUI_UPDOWN, 1, GFXK_RIGHT, 1, ""},
        {GFXGUI_NONAVKEYS, 0, GFXK_RIGHT, 0, ""},
        {GFXGUI_LEFTRIGHT, 1, GFXK_RIGHT, 3, "Q"},
        {GFXGUI_LEFTRIGHT, 1, GFXK_RIGHT, 3, "q"},
        {GFXGUI_LEFTRIGHT, 1, GFXK_RIGHT, 3, "h"},
        {GFXGUI_LEFTRIGHT | GFXGUI_CYCLED, 2, GFXK_RIGHT, 2, "PR"},
    };
    for (const Case& c : cases) {
        gui = std::make_unique<gfxGUI>();
        AddPQR();
        gui->SetNavMode(c.navmode);
        gui->SetFocus(c.focus);
        for (const char* s = c.skip; *s; ++s) {
            TestCtrl* t = (*s == 'P' || *s == 'p') ? P : (*s == 'Q' || *s == 'q' || *s == 'h') ? Q : R;
            if (*s == 'q')
                t->bEnabled = false;
            else if (*s == 'h')
                t->bVisible = false;
            else
                t->bStatic = true;
        }
        Key(c.key);
        EXPECT_EQ(gui->GetFocus(), c.expected)
            << "navmode " << c.navmode << " focus " << c.focus << " key " << c.key << " skip " << c.skip;
    }
}

TEST_F(GUITest, NoFocusableControlLeavesFocusAndGoesOnToTheMouse) {
    AddPQR();
    P->bStatic = true;
    Q->bEnabled = false;
    R->bStatic = true;
    gui->SetNavMode(GFXGUI_LEFTRIGHT | GFXGUI_CYCLED);
    Take();
    RecordedInput in = Mouse(25, 5);
    in.key = GFXK_RIGHT;
    EXPECT_EQ(Frame(in), 0);
    EXPECT_EQ(gui->GetFocus(), 0);
    EXPECT_EQ(Take(), (Log{"R.MouseOver(true)", "R.MouseMove(5,5)"}));
}

TEST_F(GUITest, SetFocusCallsAndRefusals) {
    AddPQR();
    Q->bStatic = true;
    Take();
    gui->SetFocus(1);
    gui->SetFocus(1);
    gui->SetFocus(3);
    gui->SetFocus(2);  // static: nothing
    EXPECT_EQ(gui->GetFocus(), 3);
    gui->SetFocus(99);  // no such control: the focus is dropped
    EXPECT_EQ(gui->GetFocus(), 0);
    EXPECT_EQ(Take(), (Log{"P.Focus(true)", "P.Focus(false)", "R.Focus(true)", "R.Focus(false)"}));
}

// The callbacks run before the new reference is stored: inside them the
// focus is still the old one. A change made from a callback has the last word.
TEST_F(GUITest, TheFocusChangesAfterItsCallbacks) {
    AddPQR();
    auto focusIs = [this](TestCtrl* c) {
        return [this, c] { log.push_back(c->name + " sees " + std::to_string(gui->GetFocus())); };
    };
    P->hookOn = "Focus(false)";
    P->hook = focusIs(P);
    R->hookOn = "Focus(true)";
    R->hook = focusIs(R);
    gui->SetFocus(1);
    gui->SetFocus(3);
    EXPECT_EQ(gui->GetFocus(), 3);
    gui->SetNavMode(GFXGUI_LEFTRIGHT | GFXGUI_CYCLED);
    Key(GFXK_RIGHT);
    EXPECT_EQ(gui->GetFocus(), 1);
    EXPECT_EQ(Take(), (Log{"P.Focus(true)", "P.Focus(false)", "P sees 1", "R.Focus(true)", "R sees 1", "R.Focus(false)",
                           "P.Focus(true)"}));

    // Q moves the focus on to R as it gains it; P deletes itself as it loses it.
    P->hook = [this] { gui->DelCtrl(1); };
    Q->hookOn = "Focus(true)";
    Q->hook = [this] { gui->SetFocus(3); };
    R->hook = nullptr;
    gui->SetFocus(2);
    EXPECT_EQ(gui->GetFocus(), 3);
    EXPECT_EQ(Take(), (Log{"P.Focus(false)", "Q.Focus(true)", "Q.Focus(false)", "R.Focus(true)", "P.~"}));
}

TEST_F(GUITest, MouseOverFollowsTheTopmostEnabledControl) {
    TestCtrl* below = Add("A", 1, gfxRect(0, 0, 20, 20));
    TestCtrl* above = Add("B", 2, gfxRect(10, 10, 30, 30));
    TestCtrl* off = Add("C", 3, gfxRect(40, 0, 50, 10));
    off->bEnabled = false;
    above->bVisible = false;  // hidden, yet it takes the mouse

    for (auto xy : {std::make_pair(5.0f, 5.0f), {6.0f, 5.0f}, {15.0f, 15.0f}, {45.0f, 5.0f}})
        EXPECT_EQ(Frame(Mouse(xy.first, xy.second)), 0);
    below->bEnabled = false;
    Frame(Mouse(5, 5));
    EXPECT_EQ(Take(), (Log{"A.MouseOver(true)", "A.MouseMove(5,5)", "A.MouseMove(6,5)", "A.MouseOver(false)",
                           "B.MouseOver(true)", "B.MouseMove(5,5)", "B.MouseOver(false)"}));
}

// The old control hears MouseOver(false) before the new one is stored; a
// deletion in that callback leaves no stale reference either way.
TEST_F(GUITest, MouseOverChangesAfterItsCallbacks) {
    TestCtrl* a = Add("A", 1, gfxRect(0, 0, 10, 10));
    TestCtrl* b = Add("B", 2, gfxRect(10, 0, 20, 10));
    Add("C", 3, gfxRect(20, 0, 30, 10));
    Frame(Mouse(5, 5));
    a->hookOn = "MouseOver(false)";
    a->hook = [this] { gui->DelCtrl(1); };
    Frame(Mouse(15, 5));
    b->hookOn = "MouseOver(false)";
    b->hook = [this] { gui->DelCtrl(3); };
    Frame(Mouse(25, 5));
    Frame(Mouse(25, 5));
    EXPECT_EQ(Take(), (Log{"A.MouseOver(true)", "A.MouseMove(5,5)", "A.MouseOver(false)", "B.MouseOver(true)",
                           "B.MouseMove(5,5)", "A.~", "B.MouseOver(false)", "C.~"}));
}

// An Update made from the old control's MouseOver(false) still finds that
// control under the mouse, so the new one hears MouseOver(true) before any
// mouse event.
TEST_F(GUITest, AnUpdateFromMouseOverFalseSeesTheOldControl) {
    AddPQR();
    Frame(Mouse(5, 5));
    P->hookOn = "MouseOver(false)";
    P->hook = [this] {
        P->hookOn.clear();  // re-enters once
        gui->Update(0.1f);
    };
    Frame(Mouse(15, 5));
    EXPECT_EQ(Take(), (Log{"P.MouseOver(true)", "P.MouseMove(5,5)", "P.MouseOver(false)", "P.MouseOver(false)",
                           "Q.MouseOver(true)", "Q.MouseMove(5,5)"}));
}

TEST_F(GUITest, PressDragReleaseKeepsTheLock) {
    TestCtrl* a = Add("A", 7, gfxRect(10, 10, 20, 20));
    RecordedInput press = Mouse(15, 15);
    press.down = {GFXK_LBUTTON};
    press.held = {GFXK_LBUTTON};
    RecordedInput drag = Mouse(2, 40);
    drag.held = {GFXK_LBUTTON};
    RecordedInput release = Mouse(3, 40);
    release.up = {GFXK_LBUTTON};
    Frame(press);
    EXPECT_EQ(gui->GetFocus(), 7);
    Frame(drag);
    Frame(release);
    Frame(Mouse(3, 41));
    EXPECT_EQ(Take(), (Log{"A.MouseOver(true)", "A.Focus(true)", "A.MouseLButton(true)", "A.MouseMove(5,5)",
                           "A.MouseMove(-8,30)", "A.MouseLButton(false)", "A.MouseMove(-7,30)", "A.MouseOver(false)"}));

    // Activated by the press: its id comes back and no MouseMove that frame.
    a->activateOn = "MouseLButton(true)";
    EXPECT_EQ(Frame(press), 7);
    EXPECT_EQ(Take(), (Log{"A.MouseOver(true)", "A.MouseLButton(true)"}));
}

TEST_F(GUITest, HandlersRunInOrderAndTheFirstActivationStops) {
    TestCtrl* a = Add("A", 4, gfxRect(0, 0, 10, 10));
    RecordedInput in = Mouse(1, 2);
    in.down = {GFXK_RBUTTON};
    in.held = {GFXK_RBUTTON};
    in.up = {GFXK_LBUTTON};
    in.wheel = -2;
    EXPECT_EQ(Frame(in), 0);
    EXPECT_EQ(Take(), (Log{"A.MouseOver(true)", "A.Focus(true)", "A.MouseRButton(true)", "A.MouseLButton(false)",
                           "A.MouseWheel(-2)", "A.MouseMove(1,2)"}));
    a->activateOn = "MouseWheel(-2)";
    in.held.clear();
    EXPECT_EQ(Frame(in), 4);
    EXPECT_EQ(Take(), (Log{"A.MouseRButton(true)", "A.MouseLButton(false)", "A.MouseWheel(-2)"}));
}

TEST_F(GUITest, StaticControlCapturesTheMouseButNeverTheFocus) {
    TestCtrl* s = Add("S", 5, gfxRect(0, 0, 10, 10));
    s->bStatic = true;
    RecordedInput press = Mouse(5, 5);
    press.down = press.held = {GFXK_LBUTTON};
    Frame(press);
    EXPECT_EQ(gui->GetFocus(), 0);
    RecordedInput drag = Mouse(50, 50);
    drag.held = {GFXK_LBUTTON};
    Frame(drag);
    EXPECT_EQ(Take(), (Log{"S.MouseOver(true)", "S.MouseLButton(true)", "S.MouseMove(5,5)", "S.MouseMove(50,50)"}));
}

TEST_F(GUITest, KeysReachTheFocusedControlExceptMouseButtons) {
    AddPQR();
    gui->SetNavMode(GFXGUI_LEFTRIGHT);
    Key(GFXK_ENTER);
    EXPECT_EQ(Take(), Log{}) << "no focus, no KeyClick";
    gui->SetFocus(2);
    Take();
    struct Case {
        int key, chr;
        Log calls;
    };
    const Case cases[] = {
        {GFXK_ENTER, 13, {"Q.KeyClick(13,13)"}},
        {GFXK_SPACE, 32, {"Q.KeyClick(32,32)"}},
        {GFXK_A, 'a', {"Q.KeyClick(65,97)"}},
        {GFXK_UP, 0, {"Q.KeyClick(38,0)"}},  // not a navigation key in this mode
        {GFXK_LBUTTON, 0, {}},
        {GFXK_RBUTTON, 0, {}},
        {0, 0, {}},
    };
    for (const Case& c : cases) {
        engine->ClearLog();
        Key(c.key, c.chr);
        EXPECT_EQ(Take(), c.calls) << c.key;
        EXPECT_EQ(engine->Count("Input_GetChar"), c.calls.empty() ? 0 : 1) << c.key;
    }
    Q->activateOn = "KeyClick(13,0)";
    engine->ClearLog();
    EXPECT_EQ(Key(GFXK_ENTER), 2);
    EXPECT_EQ(engine->Count("Input_GetKeyState"), 0) << "returned before the mouse";
}

TEST_F(GUITest, RenderDrawsVisibleControlsThenTheCursorWhenTheMouseIsIn) {
    AddPQR();
    Q->bVisible = false;
    gfxSprite cursor(0, 0, 0, 4, 4);
    Frame(Mouse(12, 7));
    Take();
    engine->ClearLog();
    gui->Render();
    EXPECT_EQ(Take(), (Log{"P.Render()", "R.Render()"}));
    EXPECT_EQ(engine->Count("Input_IsMouseOver"), 1);
    EXPECT_EQ(engine->Quads().size(), 0u);

    gui->SetCursor(&cursor);
    gui->Render();
    ASSERT_EQ(engine->Quads().size(), 1u);
    EXPECT_EQ(engine->Quads()[0].v[0].x, 12.0f);
    EXPECT_EQ(engine->Quads()[0].v[0].y, 7.0f);

    RecordedInput outside = Mouse(12, 7);
    outside.mouseOver = false;
    engine->SetInput(outside);
    gui->Render();
    EXPECT_EQ(engine->Quads().size(), 1u);
}

TEST_F(GUITest, ControlsMoveShowEnableAndDelete) {
    AddPQR();
    gui->MoveCtrl(2, 100, 50);
    EXPECT_EQ(Q->rect.x1, 100.0f);
    EXPECT_EQ(Q->rect.y1, 50.0f);
    EXPECT_EQ(Q->rect.x2, 110.0f);
    EXPECT_EQ(Q->rect.y2, 60.0f);
    gui->Move(-5, 5);
    EXPECT_EQ(P->rect.x1, -5.0f);
    EXPECT_EQ(R->rect.y2, 15.0f);
    gui->MoveCtrl(9, 1, 1);
    gui->ShowCtrl(9, false);
    gui->EnableCtrl(9, false);
    gui->DelCtrl(9);
    gui->ShowCtrl(1, false);
    gui->EnableCtrl(3, false);
    EXPECT_FALSE(P->bVisible);
    EXPECT_FALSE(R->bEnabled);
    EXPECT_EQ(gui->GetCtrl(2), Q);

    gui->SetColor(0x80FF0000u);
    EXPECT_EQ(R->color, 0x80FF0000u);

    // Deleting the focused, locked and hovered control drops every reference.
    RecordedInput press = Mouse(100, 60);
    press.down = press.held = {GFXK_LBUTTON};
    Frame(press);
    EXPECT_EQ(gui->GetFocus(), 2);
    Take();
    gui->DelCtrl(2);
    EXPECT_EQ(Take(), Log{"Q.~"});
    EXPECT_EQ(gui->GetFocus(), 0);
    EXPECT_EQ(gui->GetCtrl(2), nullptr);
    press.down.clear();
    Frame(press);
    EXPECT_EQ(Take(), Log{});

    gui.reset();
    EXPECT_EQ(Take(), (Log{"P.~", "R.~"}));
}

TEST_F(GUITest, AControlAlreadyInAListIsRefused) {
    TestCtrl* a = Add("A", 1, gfxRect(0, 0, 10, 10));
    gui->AddCtrl(a);
    gfxGUI other;
    other.AddCtrl(a);
    EXPECT_EQ(a->gui, gui.get());
    EXPECT_EQ(a->next, nullptr);
    EXPECT_EQ(a->prev, nullptr);
    EXPECT_EQ(other.GetCtrl(1), nullptr);
    gui->AddCtrl(nullptr);
    TestCtrl* b = Add("B", 2);
    EXPECT_EQ(a->next, b);
    EXPECT_EQ(b->prev, a);
}

TEST_F(GUITest, AControlDeletedInItsOwnCallbackIsNeverCalledAgain) {
    Add("A", 6, gfxRect(0, 0, 10, 10));
    TestCtrl* b = Add("B", 8, gfxRect(0, 0, 10, 10));
    b->activateOn = "MouseLButton(true)";
    b->hookOn = "MouseLButton(true)";
    b->hook = [this] { gui->DelCtrl(8); };
    RecordedInput press = Mouse(5, 5);
    press.down = press.held = {GFXK_LBUTTON, GFXK_RBUTTON};
    EXPECT_EQ(Frame(press), 8);
    // Freed once Update returns, with no right-button call in between.
    EXPECT_EQ(Take(), (Log{"B.MouseOver(true)", "B.Focus(true)", "B.MouseLButton(true)", "B.~"}));
    EXPECT_EQ(gui->GetCtrl(8), nullptr);
    EXPECT_EQ(gui->GetFocus(), 0);

    // The next frame finds the control below, with no lock left behind.
    press.down.clear();
    Frame(press);
    EXPECT_EQ(Take(), (Log{"A.MouseOver(true)", "A.MouseMove(5,5)"}));

    // Deleting a later control from an earlier one's Render skips it at once.
    TestCtrl* c = Add("C", 9);
    Add("D", 10);
    c->hookOn = "Render()";
    c->hook = [this] { gui->DelCtrl(10); };
    gui->Render();
    EXPECT_EQ(Take(), (Log{"A.Render()", "C.Render()", "D.~"}));
    EXPECT_EQ(gui->GetCtrl(10), nullptr);
}

TEST_F(GUITest, OneEngineReferencePerGUI) {
    const int base = engine->RefCount();
    {
        gfxGUI second;
        EXPECT_EQ(engine->RefCount(), base + 1);
    }
    EXPECT_EQ(engine->RefCount(), base);
}

}  // namespace
