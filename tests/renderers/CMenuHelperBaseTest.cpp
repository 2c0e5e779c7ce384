#include "renderers/CMenuHelperBase.h"

#include "helpers/gfxFont.h"
#include "helpers/gfxGUI.h"
#include "tests/support/EngineFixture.h"

#include <memory>
#include <string>
#include <type_traits>
#include <vector>

static_assert(!std::is_copy_constructible<CMenuHelperBase>::value, "the menu owns its GUI and font");

namespace {

using Log = std::vector<std::string>;

// Logs its effects as "<name>.<Call>"; Enter (13) activates it.
class MenuCtrl : public gfxGUIObject {
public:
    MenuCtrl(Log& log, std::string name, int ctrlId) : m_Log(log), m_Name(std::move(name)) {
        id = ctrlId;
        rect = gfxRect(100, 100 + 10 * ctrlId, 200, 110 + 10 * ctrlId);
    }
    ~MenuCtrl() override { m_Log.push_back(m_Name + ".~"); }
    void Render() override { m_Log.push_back(m_Name + ".Render"); }
    void Enter() override { m_Log.push_back(m_Name + ".Enter"); }
    void Leave() override { m_Log.push_back(m_Name + ".Leave"); }
    void Focus(bool on) override { m_Log.push_back(m_Name + (on ? ".Focus" : ".Unfocus")); }
    bool KeyClick(int key, int) override { return key == 13; }

private:
    Log& m_Log;
    std::string m_Name;
};

// Adds its controls after the base has made the GUI, as a derived menu does.
class TestMenu : public CMenuHelperBase {
public:
    TestMenu(Log& log, int controls) : CMenuHelperBase("fonts/menu.fnt"), m_Log(log), m_Controls(controls) {}
    void OnInit(CGFXStarter* starter) override {
        CMenuHelperBase::OnInit(starter);
        for (int i = 1; i <= m_Controls; ++i) AddCtrl(new MenuCtrl(m_Log, std::string(1, char('A' + i - 1)), i));
    }
    bool OnItemChosen(int id, CGFXStarter*) override {
        chosen.push_back(id);
        return endLoop;
    }
    using CMenuHelperBase::GetFont;
    using CMenuHelperBase::GetGUI;
    using CMenuHelperBase::SetFocusId;

    std::vector<int> chosen;
    bool endLoop = false;

private:
    Log& m_Log;
    int m_Controls;
};

class CMenuHelperBaseTest : public ScreenFixture {
protected:
    void SetUp() override {
        ScreenFixture::SetUp();
        engine->AddImage("fonts/glyphs.png", 64, 64);
        engine->AddFile("fonts/menu.fnt", "[GFXFONT]\nBitmap=glyphs.png\nChar=41,0,0,10,17,0,1\n");
    }
    bool Frame(TestMenu& menu, int key = 0) {
        RecordedInput in;
        in.key = key;
        engine->SetInput(in);
        return menu.Frame(0.1f, nullptr);
    }
    Log Take() {
        Log out;
        out.swap(log);
        return out;
    }

    Log log;
};

TEST_F(CMenuHelperBaseTest, WithoutAGUIEveryCallDoesNothing) {
    const int refs = engine->RefCount();
    TestMenu menu(log, 2);
    for (int pass = 0; pass < 2; ++pass) {
        engine->ClearLog();
        MenuCtrl loose(log, "X", 9);
        EXPECT_FALSE(menu.AddCtrl(&loose)) << pass;
        EXPECT_EQ(loose.gui, nullptr);
        EXPECT_FALSE(Frame(menu, 13));
        EXPECT_FALSE(menu.Render(0.1f, nullptr));
        menu.SetActive(nullptr, false);
        EXPECT_TRUE(menu.IsRunning());
        EXPECT_EQ(menu.GetGUI(), nullptr);
        EXPECT_TRUE(engine->Log().empty()) << pass;
        EXPECT_TRUE(menu.chosen.empty());
        // Then the same once the menu has been attached and detached.
        menu.Attach(nullptr);
        menu.Detach(nullptr);
        EXPECT_EQ(engine->RefCount(), refs) << "GUI and font give their references back";
        EXPECT_EQ(engine->LiveTextures(), 0);
    }
}

TEST_F(CMenuHelperBaseTest, AttachMakesGUIAndFontAndDetachDeletesTheControls) {
    const int refs = engine->RefCount();
    TestMenu menu(log, 2);
    EXPECT_FALSE(menu.IsAttached());
    menu.Attach(nullptr);
    ASSERT_NE(menu.GetGUI(), nullptr);
    ASSERT_NE(menu.GetFont(), nullptr);
    EXPECT_EQ(engine->Calls("Resource_Load").front(), "Resource_Load(fonts/menu.fnt)");
    EXPECT_EQ(engine->LiveTextures(), 1);
    EXPECT_EQ(menu.GetLuaState(), nullptr);

    // A control already in the GUI is not taken twice.
    EXPECT_FALSE(menu.AddCtrl(menu.GetGUI()->GetCtrl(1)));

    EXPECT_FALSE(menu.Render(0.1f, nullptr));
    EXPECT_EQ(Take(), (Log{"A.Render", "B.Render"}));
    menu.Detach(nullptr);
    EXPECT_EQ(Take(), (Log{"A.~", "B.~"}));
    EXPECT_EQ(menu.GetGUI(), nullptr);
    EXPECT_EQ(menu.GetFont(), nullptr);
    EXPECT_EQ(engine->LiveTextures(), 0);
    EXPECT_EQ(engine->RefCount(), refs);

    // Destroyed while still attached: nothing is left behind either.
    {
        TestMenu attached(log, 1);
        attached.Attach(nullptr);
    }
    EXPECT_EQ(engine->LiveTextures(), 0);
    EXPECT_EQ(engine->RefCount(), refs);
}

TEST_F(CMenuHelperBaseTest, ChoosingReportsTheControlOnceAndReShowingGivesTheFocusBack) {
    for (bool endLoop : {false, true}) {
        TestMenu menu(log, 3);
        menu.SetFocusId(2);
        menu.endLoop = endLoop;
        menu.Attach(nullptr);
        EXPECT_EQ(menu.GetGUI()->GetFocus(), 2) << "the remembered control is focused when first shown";
        EXPECT_FALSE(Frame(menu));
        Take();

        // Enter on the focused control chooses it; the frame returns the choice's result.
        EXPECT_EQ(Frame(menu, 13), endLoop);
        EXPECT_EQ(menu.chosen, std::vector<int>{2});
        EXPECT_EQ(menu.GetChosenId(), 2);
        EXPECT_FALSE(menu.IsRunning());
        EXPECT_EQ(Take(), (Log{"A.Leave", "B.Leave", "C.Leave"}));
        EXPECT_EQ(menu.GetGUI()->GetFocus(), 0);

        // The host switches away and back: focus first, then the controls appear.
        menu.SetActive(nullptr, false);
        EXPECT_TRUE(Take().empty());
        menu.SetActive(nullptr, true);
        EXPECT_TRUE(menu.IsRunning());
        EXPECT_EQ(Take(), (Log{"B.Focus", "A.Enter", "B.Enter", "C.Enter"}));

        // Activating a running menu restarts nothing.
        menu.SetActive(nullptr, true);
        EXPECT_TRUE(Take().empty());
        EXPECT_FALSE(Frame(menu));
        EXPECT_EQ(menu.chosen, std::vector<int>{2});
        menu.Detach(nullptr);
        Take();
    }
}

TEST_F(CMenuHelperBaseTest, FinishedLeavingShowsTheControlsAgain) {
    TestMenu menu(log, 2);
    menu.SetFocusId(1);
    menu.Attach(nullptr);
    Frame(menu);
    EXPECT_FALSE(Frame(menu, 13));
    EXPECT_EQ(menu.chosen, std::vector<int>{1});
    Take();
    // Default controls are done at once: the next frame sees the leaving end.
    EXPECT_FALSE(Frame(menu));
    EXPECT_EQ(Take(), (Log{"A.Focus", "A.Enter", "B.Enter"}));
    EXPECT_FALSE(menu.IsRunning());
    menu.Detach(nullptr);
}

TEST_F(CMenuHelperBaseTest, WithoutARememberedControlNothingIsFocusedAndArrowsWrap) {
    TestMenu menu(log, 3);
    menu.Attach(nullptr);
    EXPECT_EQ(menu.GetGUI()->GetFocus(), 0);
    EXPECT_FALSE(Frame(menu, 13));
    EXPECT_TRUE(menu.chosen.empty());
    // Up and down arrows with wrapping: up from the top goes to the bottom.
    Frame(menu, GFXK_DOWN);
    EXPECT_EQ(menu.GetGUI()->GetFocus(), 1);
    Frame(menu, GFXK_UP);
    EXPECT_EQ(menu.GetGUI()->GetFocus(), 3);
    Frame(menu, GFXK_RIGHT);
    EXPECT_EQ(menu.GetGUI()->GetFocus(), 3);

    Frame(menu, 13);
    EXPECT_EQ(menu.chosen, std::vector<int>{3});
    menu.SetActive(nullptr, true);
    EXPECT_EQ(menu.GetGUI()->GetFocus(), 0);
    menu.Detach(nullptr);
}

TEST_F(CMenuHelperBaseTest, AMenuWithoutControlsNeverChooses) {
    TestMenu menu(log, 0);
    menu.Attach(nullptr);
    for (int key : {0, 13, int(GFXK_DOWN), 32}) EXPECT_FALSE(Frame(menu, key)) << key;
    EXPECT_TRUE(menu.chosen.empty());
    EXPECT_TRUE(menu.IsRunning());
    menu.Detach(nullptr);
}

}  // namespace
