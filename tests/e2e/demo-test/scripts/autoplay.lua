-- Plays the demo by itself for the end-to-end test. Each screen of the demo
-- is wrapped (Autoplay.Wrap): its "Init" gets a stand-in host table whose
-- input functions give the plan's keys and mouse position, and before each
-- of its "Update"s the plan's next step runs when it belongs to that screen.
-- Every screen has its own Lua state, so the plan's progress lives in the
-- configuration's "autoplay" section, which every screen shares; the plan
-- itself is chosen by "autoplay"/"mode". Each host function the demo calls
-- is noted in the section "autoplay_used", and each one the host's table
-- holds in "autoplay_host", for the test to see that the demo calls them all.
preload("scripts/keys")

Autoplay = {}

local SECTION = "autoplay"
local USED = "autoplay_used"
local OFFERED = "autoplay_host"
-- Frames a step may wait for its screen before the run gives up.
local PATIENCE = 900
-- The game time of every frame the demo sees, however long the machine took
-- to show it: a loaded machine plays the same game as an idle one.
local FRAME = 1 / 60

local K = Keys
local plans = {}

-- Every screen, keys, clicks (emulated), typing and both captures; the
-- dialog is closed once, the settings reset once, the gallery started
-- twice; ends by quitting through the dialog.
plans.walk = {
    {"menu", "wait", 20},
    {"menu", "key", K.F}, {"menu", "wait", 10}, {"menu", "key", K.F}, {"menu", "wait", 10},
    {"menu", "key", K.Q},                           -- without Ctrl: nothing
    {"menu", "catch"}, {"menu", "wait", 5},
    {"menu", "key", K.ESCAPE},
    {"confirm", "wait", 5}, {"confirm", "key", K.N},
    {"menu", "wait", 5},
    {"menu", "click", 400, 178},                    -- "Options"
    {"options", "move", 700, 560},                  -- off the rows
    {"options", "wait", 5},
    {"options", "key", K.LEFT}, {"options", "key", K.LEFT},
    {"options", "click", 400, 374},                 -- "Reset to defaults"
    {"options", "move", 700, 560},
    {"options", "key", K.UP}, {"options", "key", K.UP}, {"options", "key", K.UP},
    {"options", "key", K.UP}, {"options", "key", K.UP},
    {"options", "key", K.LEFT}, {"options", "key", K.LEFT},
    {"options", "key", K.DOWN}, {"options", "key", K.RIGHT},
    {"options", "key", K.DOWN}, {"options", "key", K.RIGHT},
    {"options", "key", K.DOWN}, {"options", "key", K.DOWN},
    {"options", "key", K.BACKSPACE, 8}, {"options", "key", K.BACKSPACE, 8},
    {"options", "key", K.BACKSPACE, 8}, {"options", "key", K.BACKSPACE, 8},
    {"options", "key", K.BACKSPACE, 8}, {"options", "key", K.BACKSPACE, 8},
    {"options", "key", 84, 84}, {"options", "key", 69, 101}, {"options", "key", 83, 115},
    {"options", "key", 84, 116},
    {"options", "wait", 5},
    {"options", "click", 400, 418},                 -- "Back to the menu"
    {"menu", "wait", 5},
    {"menu", "key", K.C},
    {"credits", "wait", 90},
    {"credits", "click", 400, 300},
    {"menu", "wait", 5},
    {"menu", "key", K.G},
    {"gallery", "wait", 20},
    {"gallery", "click", 210, 420},                 -- sparks
    {"gallery", "wait", 10}, {"gallery", "key", K.ENTER},
    {"gallery", "key", K.SPACE},
    {"gallery", "key", K.H}, {"gallery", "wait", 3}, {"gallery", "key", K.H},
    {"gallery", "wait", 10},
    {"gallery", "key", K.ESCAPE},
    {"menu", "wait", 5},
    {"menu", "key", K.G},
    {"gallery", "wait", 30},
    {"gallery", "key", K.P}, {"gallery", "wait", 5}, {"gallery", "key", K.P},
    {"gallery", "move", 300, 240},
    {"gallery", "wait", 10},
    {"gallery", "capture"},
    {"gallery", "click", 710, 48},                  -- "Back"
    {"menu", "wait", 5},
    {"menu", "key", K.ESCAPE},
    {"confirm", "wait", 10},
    {"confirm", "done", "walked"},
    {"confirm", "click", 275, 349},                 -- "Quit"
}

-- The soak: the walk's tour of every screen (without its quit) again and
-- again until "autoplay"/"seconds" have passed since the start, counting the
-- rounds in "autoplay"/"rounds"; then it quits through the dialog.
do
    local soak = {{"menu", "start"}}
    for i = 1, #plans.walk - 5 do soak[#soak + 1] = plans.walk[i] end
    for _, step in ipairs({
        {"menu", "wait", 5},
        {"menu", "again"},
        {"menu", "key", K.ESCAPE},
        {"confirm", "wait", 10},
        {"confirm", "done", "soaked"},
        {"confirm", "click", 275, 349},             -- "Quit"
    }) do soak[#soak + 1] = step end
    plans.soak = soak
end

-- The settings saved by the walk are back at the next start.
plans.restore = {
    {"menu", "wait", 10},
    {"menu", "key", K.O},
    {"options", "wait", 10},
    {"options", "capture"},
    {"options", "done", "restored"},
    {"options", "exit"},
}

-- A script error in the middle of the game ends it.
plans.error = {
    {"menu", "wait", 3},
    {"menu", "fail"},
}

-- One picture of a screen, for a look at it.
local function ShotPlan(screen, key)
    local plan = {{"menu", "wait", 30}}
    if key then plan[#plan + 1] = {"menu", "key", key} end
    plan[#plan + 1] = {screen, "wait", 60}
    plan[#plan + 1] = {screen, "capture"}
    plan[#plan + 1] = {screen, "done", "shot"}
    plan[#plan + 1] = {screen, "exit"}
    return plan
end
plans["shot-menu"] = ShotPlan("menu")
plans["shot-options"] = ShotPlan("options", K.O)
plans["shot-credits"] = ShotPlan("credits", K.C)
plans["shot-gallery"] = ShotPlan("gallery", K.G)
plans["shot-confirm"] = ShotPlan("confirm", K.ESCAPE)

local Real
-- This screen's input of this frame, from the plan.
local pressed = {key = 0, char = 0}

local function Number(name) return Real:ConfigGetNumber(SECTION, name) end
local function SetNumber(name, value) Real:ConfigSetNumber(SECTION, name, value) end

local function Finish(result)
    Real:ConfigSetString(SECTION, "result", result)
    Real:Exit()
end

-- The effects of the last frame's step that end in this frame: a key comes
-- up, an emulated click is over.
local function EndLastStep()
    pressed.key, pressed.char, pressed.up = 0, 0, nil
    local up = Number("up")
    if up ~= 0 then
        pressed.up = up
        SetNumber("up", 0)
    end
    if Number("clicking") ~= 0 then
        Real:ResetLeftMouseClickedEmulation()
        SetNumber("clicking", 0)
    end
end

local actions
actions = {
    wait = function(step)
        local waited = Number("waited") + 1
        if waited < step[3] then
            SetNumber("waited", waited)
            return false
        end
        SetNumber("waited", 0)
        return true
    end,
    key = function(step)
        pressed.key, pressed.char = step[3], step[4] or 0
        SetNumber("up", step[3])
        return true
    end,
    move = function(step)
        SetNumber("mx", step[3])
        SetNumber("my", step[4])
        SetNumber("moved", 1)
        return true
    end,
    click = function(step)
        actions.move(step)
        Real:EmulateLeftMouseClicked(true)
        SetNumber("clicking", 1)
        return true
    end,
    -- Clicks on the menu's bee (its body lies 14, 20 from its corner) until
    -- one hits: the bee was seen under the last frame's click, as the menu
    -- saw it, so that click caught it. In a frame's time the bee moves a few
    -- pixels, so the first click hits.
    catch = function(step)
        if Number("catching") ~= 0 and Bee:UnderPosition(Number("mx"), Number("my")) then
            SetNumber("catching", 0)
            return true
        end
        if Number("frames") > PATIENCE then Finish("the bee was never caught") end
        local x, y = Bee:Position()
        SetNumber("catching", 1)
        actions.click({step[1], "click", x + 14, y + 20})
        return false
    end,
    capture = function()
        SetNumber("captured", Real:GetLastSurface() and 1 or 0)
        return true
    end,
    done = function(step)
        Real:ConfigSetString(SECTION, "result", step[3])
        return true
    end,
    start = function()
        SetNumber("started", os.time())
        return true
    end,
    -- Back to the plan's second step while there is time left.
    again = function()
        SetNumber("rounds", Number("rounds") + 1)
        if os.time() - Number("started") >= Number("seconds") then return true end
        SetNumber("step", 1)
        SetNumber("frames", 0)
        return false
    end,
    exit = function()
        Real:Exit()
        return true
    end,
    fail = function()
        error("deliberate failure in the demo's menu")
    end,
}

-- The plan's step for this frame, when it belongs to this screen.
local function Step(screen)
    EndLastStep()
    local plan = plans[Real:ConfigGetString(SECTION, "mode")]
    if not plan then return Finish("no plan named " .. Real:ConfigGetString(SECTION, "mode")) end
    local index = Number("step") + 1
    local step = plan[index]
    if not step then return end
    local frames = Number("frames") + 1
    SetNumber("frames", frames)
    if step[1] ~= screen then
        if frames > PATIENCE then Finish("step " .. index .. " waited for " .. step[1] .. " on " .. screen) end
        return
    end
    if actions[step[2]](step) then
        SetNumber("step", index)
        SetNumber("frames", 0)
    end
end

local used = {}
local function Note(name)
    if used[name] then return end
    used[name] = true
    Real:ConfigSetNumber(USED, name, 1)
end

-- A table whose functions note their name, then call the table's own.
local function Noting(host)
    return setmetatable({}, {__index = function(_, name)
        local f = host[name]
        if type(f) ~= "function" then return f end
        return function(self, ...)
            Note(name)
            if name == "GetRegisteredRenderer" then
                local other = f(self, ...)
                return other and Noting(other)
            end
            return f(self, ...)
        end
    end})
end

-- The host table with the input functions answering from the plan; every
-- other function is the real one.
local function StandIn(host)
    local noted = Noting(host)
    local fake = {}
    function fake:GetLastPressedKey() return pressed.key ~= 0 and pressed.key or host:GetLastPressedKey() end
    function fake:GetLastPressedChar() return pressed.char ~= 0 and pressed.char or host:GetLastPressedChar() end
    function fake:IsKeyPressed(key) return pressed.key == key or host:IsKeyPressed(key) end
    function fake:EscapePressed() return pressed.up == Keys.ESCAPE or host:EscapePressed() end
    function fake:EnterPressed() return pressed.up == Keys.ENTER or host:EnterPressed() end
    function fake:MousePos()
        if Number("moved") == 0 then return host:MousePos() end
        return Number("mx"), Number("my")
    end
    for name, f in pairs(fake) do
        fake[name] = function(self, ...)
            Note(name)
            return f(self, ...)
        end
    end
    return setmetatable(fake, {__index = noted})
end

-- The functions of the host's own table, as the program made it.
local function NoteOffered(host)
    for name, f in pairs(host) do
        if type(f) == "function" then Real:ConfigSetNumber(OFFERED, name, 1) end
    end
end

-- Puts the plan in front of the demo screen that the module just defined.
function Autoplay.Wrap(screen, module)
    preload(module)
    local init, update = Init, Update
    function Init(host)
        Real = host
        NoteOffered(host)
        init(StandIn(host))
    end
    function Update()
        Step(screen)
        update(FRAME)
    end
end
