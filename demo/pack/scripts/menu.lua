-- The main menu of the demo game: three buttons, each with a key cap showing
-- its key. O opens the options, C the credits, Escape (or Ctrl+Q) quits. The
-- mouse highlights the button under it and a click chooses it; Up, Down and
-- Enter do the same from the keyboard.
preload("scripts/boxes")

local KEY_ENTER, KEY_ESCAPE, KEY_CTRL = 13, 27, 17
local KEY_UP, KEY_DOWN = 38, 40
local KEY_C, KEY_O, KEY_Q = 67, 79, 81

local BACKGROUND = 0xFF1C2430
local BUTTON_W, BUTTON_H, GAP = 360, 72, 28
local ICON = 0xFFF4F1E8

-- Icons as boxes inside a 64 x 40 area: sliders, lines of text, a cross.
local buttons = {
    {keys = "O", key = KEY_O, screen = "options", colour = 0xFF33669A, light = 0xFF5A8FC8,
     icon = {{0, 6, 64, 4}, {40, 0, 8, 16}, {0, 28, 64, 4}, {12, 22, 8, 16}}},
    {keys = "C", key = KEY_C, screen = "credits", colour = 0xFF3F7F4A, light = 0xFF62A86E,
     icon = {{0, 0, 64, 6}, {8, 12, 48, 6}, {0, 24, 64, 6}, {16, 36, 32, 4}}},
    {keys = "ESC", key = KEY_ESCAPE, quit = true, colour = 0xFF8E3535, light = 0xFFBF5656,
     icon = {{12, 0, 8, 8}, {20, 8, 8, 8}, {28, 16, 8, 8}, {36, 24, 8, 8}, {44, 32, 8, 8},
             {44, 0, 8, 8}, {36, 8, 8, 8}, {20, 24, 8, 8}, {12, 32, 8, 8}}},
}

local selected = 1
local hovered = nil
-- Escape quits only when it went down here: leaving the options screen with
-- Escape must not quit the game when the key comes up on the menu.
local escapeDown = false

function Init(host)
    Host = host
    local width, height = Host:GetScreenResolution()
    local top = math.floor((height - (#buttons * BUTTON_H + (#buttons - 1) * GAP)) / 2)
    for i, b in ipairs(buttons) do
        b.x = math.floor((width - BUTTON_W) / 2)
        b.y = top + (i - 1) * (BUTTON_H + GAP)
    end
end

local function Choose(b)
    if b.quit then
        Host:Exit()
    else
        escapeDown = false
        Host:SwitchToRenderer(b.screen)
    end
end

local function ButtonUnderMouse()
    local mx, my = Host:MousePos()
    for i, b in ipairs(buttons) do
        if Host:TestIntersection(mx, my, 1, 1, b.x, b.y, BUTTON_W, BUTTON_H) then return i end
    end
    return nil
end

function Update(dt)
    local key = Host:GetLastPressedKey()
    if key == KEY_ESCAPE then escapeDown = true end

    local under = ButtonUnderMouse()
    if under and under ~= hovered then selected = under end
    hovered = under

    if key == KEY_UP then selected = (selected - 2) % #buttons + 1 end
    if key == KEY_DOWN then selected = selected % #buttons + 1 end

    if key == KEY_O or key == KEY_C then
        Choose(buttons[key == KEY_O and 1 or 2])
    elseif key == KEY_Q and Host:IsKeyPressed(KEY_CTRL) then
        Host:Exit()
    elseif Host:EnterPressed() then
        Choose(buttons[selected])
    elseif hovered and Host:LeftMouseClicked() then
        Choose(buttons[hovered])
    elseif escapeDown and Host:EscapePressed() then
        Host:Exit()
    end
end

function Render(x, y)
    Boxes.Unclip(Host)
    Host:ClearScreen(BACKGROUND)
    for i, b in ipairs(buttons) do
        local bx, by = x + b.x, y + b.y
        Boxes.Box(Host, bx, by, BUTTON_W, BUTTON_H, i == selected and b.light or b.colour)
        local _, capH = Boxes.KeyCapSize(b.keys)
        Boxes.KeyCap(Host, b.keys, bx + 14, by + math.floor((BUTTON_H - capH) / 2))
        Boxes.Shape(Host, b.icon, bx + BUTTON_W - 64 - 24, by + 16, ICON)
    end
    Boxes.Unclip(Host)
end
