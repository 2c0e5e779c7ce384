-- The main menu of the demo game: the title, four buttons, each with the key
-- that chooses it (O options, C credits, G gallery, Escape quit, which asks
-- first), and a bee to catch. The mouse highlights a button and a click
-- chooses it; Up, Down and Enter do the same. F switches full screen on and
-- off, Ctrl+Q quits at once.
--
-- Which screen uses which host function (together they use all 53):
--   menu.lua      GetScreenResolution, GetFontEx, GetFont, GetSound, GetSprite,
--                 CacheTexture, CacheSound, RegisterRenderer, GetRegisteredRenderer,
--                 Update, Render and CallFunction (on the backdrop's table),
--                 SwitchToRenderer, RunScript, ShowModal (then "OnEndModal"), Exit,
--                 SetFullScreen, MousePos, LeftMouseClicked, GetLastPressedKey,
--                 IsKeyPressed, EnterPressed, EscapePressed, OutputDebugString
--   options.lua   SetSoundVolume, EnableSound, SetDebugFontColor, ShowSystemCursor,
--                 GetLastPressedChar, LeftMousePressed, and through settings.lua
--                 ConfigGetString, ConfigSetString, ConfigGetNumber, ConfigSetNumber,
--                 ConfigDeleteSection (the menu applies the saved settings at start)
--   credits.lua   GetTextFileData ("text/credits.txt"), SetClipping; the host hides
--                 the cursor on this screen
--   gallery.lua   (started by "RunScript") SetAutoRenderingMode, BeginScene, EndScene,
--                 GetMaskedSprite, GetLastSurface, GetSprite, GetParticle, SetCursor,
--                 SetCursorHotSpot, HideCursor, ShowCursor, GetFPS,
--                 EmulateLeftMouseClicked, ResetLeftMouseClickedEmulation
--   confirm.lua   (opened by "ShowModal") GetSprite (the shade), EndModal, Exit
--   backdrop.lua  (made by "RegisterRenderer") GetParticle
--   boxes.lua     ClearScreen, SetClipping, TestIntersection (shared by all screens)
--   debug.lua     the overlay's own table: GetFPS, TimerDelta, MousePos, DrawString,
--                 SetTextColor
-- Media objects: the bee (an animated sprite with an opacity map, menu and
-- gallery), both kinds of fonts (every screen), the blip (a sound stream),
-- embers and sparks (particle systems), the round window (a masked sprite)
-- and the photo (a screen capture) in the gallery.
preload("scripts/boxes")
preload("scripts/keys")
preload("scripts/settings")

local BUTTON_W, BUTTON_H, GAP, TOP = 380, 56, 16, 150
local ICON = 0xFFF4F1E8
local BEE_SPEED = 0.55

-- Icons as boxes inside a 64 x 40 area: sliders, lines of text, a frame, a cross.
local buttons = {
    {keys = "O", text = "Options", key = Keys.O, colour = 0xFF33669A, light = 0xFF5A8FC8,
     icon = {{0, 6, 64, 4}, {40, 0, 8, 16}, {0, 28, 64, 4}, {12, 22, 8, 16}}},
    {keys = "C", text = "Credits", key = Keys.C, colour = 0xFF3F7F4A, light = 0xFF62A86E,
     icon = {{0, 0, 64, 6}, {8, 12, 48, 6}, {0, 24, 64, 6}, {16, 36, 32, 4}}},
    {keys = "G", text = "Gallery", key = Keys.G, colour = 0xFF7A5A24, light = 0xFFA8833C,
     icon = {{0, 0, 64, 4}, {0, 36, 64, 4}, {0, 0, 4, 40}, {60, 0, 4, 40}, {12, 20, 12, 12},
             {28, 12, 12, 20}, {44, 24, 10, 8}}},
    {keys = "ESC", text = "Quit", key = Keys.ESCAPE, colour = 0xFF8E3535, light = 0xFFBF5656,
     icon = {{12, 0, 8, 8}, {20, 8, 8, 8}, {28, 16, 8, 8}, {36, 24, 8, 8}, {44, 32, 8, 8},
             {44, 0, 8, 8}, {36, 8, 8, 8}, {20, 24, 8, 8}, {12, 32, 8, 8}}},
}

local selected = 1
local hovered = nil
-- Escape asks to quit only when it went down here: leaving the options
-- screen with Escape must not open the dialog when the key comes up here.
local escapeDown = false
-- The mode the game is in; set in Init from where the host started it.
local fullScreen
local settingsApplied = false

local bee = {x = 0, y = 0, time = 0, facing = 1, caught = 0}

-- As the host decides: windowed only when "windowed" truncates to 1 (in its
-- low 32 bits), so the built-in defaults of a missing value are full screen.
local function StartsWindowed(host)
    local windowed = host:ConfigGetNumber("common", "windowed")
    if windowed ~= windowed or math.abs(windowed) >= 2 ^ 63 then return false end
    local whole = windowed < 0 and math.ceil(windowed) or math.floor(windowed)
    return whole % 2 ^ 32 == 1
end

function Init(host)
    Host = host
    fullScreen = not StartsWindowed(Host)
    Width, Height = Host:GetScreenResolution()
    Title = Host:GetFontEx("images/title.xml")
    Font = Host:GetFont("images/font2.fnt")
    Blip = Host:GetSound("sounds/blip.wav")
    Bee = Host:GetSprite("images/bee.png", true, 4, 12)
    Bee:SetLoop(true)
    -- Only opaque texels count: the bee is caught by its body and wings.
    Bee:CreateOpacityMap(128)
    -- The gallery's cursor and the first blip are ready before they are needed.
    Host:CacheTexture("images/crosshair.png")
    Host:CacheSound("sounds/blip.wav")
    Host:RegisterRenderer("backdrop", "scripts/backdrop.lua")
    Backdrop = Host:GetRegisteredRenderer("backdrop")
    for i, b in ipairs(buttons) do
        b.x = math.floor((Width - BUTTON_W) / 2)
        b.y = TOP + (i - 1) * (BUTTON_H + GAP)
        b.box = {b.x, b.y, BUTTON_W, BUTTON_H}
    end
end

local function Choose(b)
    if Settings.SoundOn(Host) then Blip:PlayEx(false, 100) end
    escapeDown = false
    if b.key == Keys.ESCAPE then
        Host:OutputDebugString("menu: asking to quit")
        Host:ShowModal("scripts/confirm.lua")
    elseif b.key == Keys.G then
        Host:OutputDebugString("menu: gallery")
        Host:RunScript("scripts/gallery.lua")
    else
        Host:OutputDebugString("menu: " .. b.text:lower())
        Host:SwitchToRenderer(b.text:lower())
    end
end

local function ButtonUnder(mx, my)
    for i, b in ipairs(buttons) do
        if Boxes.Inside(Host, mx, my, b.box) then return i end
    end
    return nil
end

-- The bee flies a loop below the buttons and looks where it goes.
local function MoveBee(dt)
    bee.time = bee.time + dt * BEE_SPEED
    local x = Width / 2 + math.sin(bee.time) * (Width / 2 - 70) - 16
    local y = 486 + math.sin(bee.time * 2.3) * 30 - 16
    local facing = x >= bee.x and 1 or -1
    if facing ~= bee.facing then Bee:FlipHorizontal() end
    bee.x, bee.y, bee.facing = x, y, facing
    Bee:SetPosition(x, y)
    Bee:Update(dt)
    bee.caught = math.max(0, bee.caught - dt)
end

local function CatchBee(mx, my, clicked)
    bee.hover = Bee:UnderPosition(mx, my)
    if bee.hover and clicked then
        if Settings.SoundOn(Host) then Blip:PlayEx(false, 100) end
        Backdrop:CallFunction("Burst")
        bee.caught = 1.5
        Host:OutputDebugString("menu: the bee is caught")
    end
end

local function HandleKey(key)
    if key == Keys.ESCAPE then escapeDown = true end
    if key == Keys.UP then selected = (selected - 2) % #buttons + 1 end
    if key == Keys.DOWN then selected = selected % #buttons + 1 end
    if key == Keys.F then
        fullScreen = not fullScreen
        Host:SetFullScreen(fullScreen)
    end
    if key == Keys.Q and Host:IsKeyPressed(Keys.CTRL) then
        Host:Exit()
        return true
    end
    for _, b in ipairs(buttons) do
        if key == b.key and key ~= Keys.ESCAPE then
            Choose(b)
            return true
        end
    end
    return false
end

function Update(dt)
    if not settingsApplied then
        Settings.Apply(Host, Settings.Load(Host))
        settingsApplied = true
    end
    Backdrop:Update(dt)
    MoveBee(dt)

    local mx, my = Host:MousePos()
    local clicked = Host:LeftMouseClicked()
    local under = ButtonUnder(mx, my)
    if under and under ~= hovered then selected = under end
    hovered = under
    CatchBee(mx, my, clicked)

    if HandleKey(Host:GetLastPressedKey()) then return end
    if Host:EnterPressed() then
        Choose(buttons[selected])
    elseif hovered and clicked then
        Choose(buttons[hovered])
    elseif escapeDown and Host:EscapePressed() then
        Choose(buttons[#buttons])
    end
end

-- The quit dialog closed without quitting.
function OnEndModal()
    escapeDown = false
    Host:OutputDebugString("menu: staying")
end

local function DrawButton(i, b)
    local fill = i == selected and b.light or b.colour
    Boxes.Frame(Host, b.x, b.y, BUTTON_W, BUTTON_H, 3, Boxes.DARK, fill)
    Boxes.Box(Host, b.x + 3, b.y + 3, BUTTON_W - 6, 4, i == selected and 0xFFFFFFFF or b.light)
    Boxes.Shape(Host, b.icon, b.x + BUTTON_W - 64 - 20, b.y + 8, ICON)
    Boxes.Unclip(Host)
    local capW, capH = Boxes.KeyCapSize(Font, b.keys)
    Boxes.KeyCap(Host, Font, b.keys, b.x + 16, b.y + math.floor((BUTTON_H - capH) / 2))
    Boxes.Text(Font, b.x + 16 + capW + 18, b.y + math.floor((BUTTON_H - Font:LineHeight()) / 2), b.text)
end

local function DrawBee()
    Bee:Render(bee.x, bee.y)
    local say = (bee.caught > 0 and "Bzz! Caught me.") or (bee.hover and "Click me!") or nil
    if say then Boxes.Text(Font, bee.x + 16, bee.y - 22, say, Boxes.GOLD, "center") end
end

function Render(x, y)
    Backdrop:Render(x, y)
    Boxes.Text(Title, x + Width / 2, y + 40, "BRINDLEWICK", Boxes.GOLD, "center")
    Boxes.Text(Font, x + Width / 2, y + 100, "A small game made of Lua scripts", Boxes.DIM, "center")
    for i, b in ipairs(buttons) do DrawButton(i, b) end
    DrawBee()
    Boxes.KeyLine(Host, Font, {{"F", "full screen"}, {"CTRL+Q", "quit at once"}}, x + Width / 2, y + Height - 48)
    Boxes.Unclip(Host)
end
