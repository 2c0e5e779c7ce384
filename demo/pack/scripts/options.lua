-- The options screen: a list of settings. Up and Down choose a row, Left
-- and Right change it (or a click on its arrows); on the name row typed
-- letters change the name. Every change is saved in the configuration
-- (settings.lua) and holds at the next start. Escape returns to the menu
-- (the host does that itself), and so does the last row.
preload("scripts/boxes")
preload("scripts/keys")
preload("scripts/settings")

local PANEL_W, ROW_H, TOP = 600, 44, 132
local ARROW_W, VALUE_W = 28, 220
local BAR_W = VALUE_W - 60

local selected = 1
local rows

-- The row's text on the right, or a bar for the volume.
local function OnOff(b, on, off) return b and on or off end

local function Change(row, step)
    local s = Current
    if row.id == "volume" then
        s.volume = math.max(0, math.min(100, s.volume + 10 * step))
        Host:SetSoundVolume(s.volume)
    elseif row.id == "sound" then
        s.sound = not s.sound
        Host:EnableSound(s.sound)
    elseif row.id == "overlay" then
        s.overlay = (s.overlay - 1 + step) % #Settings.OVERLAY + 1
        Host:SetDebugFontColor(Settings.OVERLAY[s.overlay].colour)
    elseif row.id == "pointer" then
        s.pointer = not s.pointer
        Host:ShowSystemCursor(s.pointer)
    else
        return
    end
    Settings.Save(Host, s)
    if s.sound then Blip:Play(false, 100) end
end

local function Activate(row)
    if row.id == "reset" then
        Current = Settings.Reset(Host)
        Settings.Apply(Host, Current)
        Host:OutputDebugString("options: defaults again")
        if Current.sound then Blip:Play(false, 100) end
    elseif row.id == "back" then
        Host:SwitchToRenderer("menu")
    end
end

rows = {
    {id = "volume", label = "Volume"},
    {id = "sound", label = "Sound", value = function(s) return OnOff(s.sound, "On", "Off") end},
    {id = "overlay", label = "Overlay text", value = function(s) return Settings.OVERLAY[s.overlay].name end},
    {id = "pointer", label = "System pointer", value = function(s) return OnOff(s.pointer, "Shown", "Hidden") end},
    {id = "name", label = "Your name", value = function(s) return s.name end, text = true},
    {id = "reset", label = "Reset to defaults", action = true},
    {id = "back", label = "Back to the menu", action = true},
}

function Init(host)
    Host = host
    Width, Height = Host:GetScreenResolution()
    Title = Host:GetFontEx("images/title.xml")
    Font = Host:GetFont("images/font2.fnt")
    Blip = Host:GetSound("sounds/blip.wav")
    Backdrop = Host:GetRegisteredRenderer("backdrop")
    Current = Settings.Load(Host)
    PanelX = math.floor((Width - PANEL_W) / 2)
    local valueX = PanelX + PANEL_W - 24 - VALUE_W
    for i, row in ipairs(rows) do
        row.y = TOP + (i - 1) * ROW_H
        row.box = {PanelX, row.y, PANEL_W, ROW_H}
        if not row.action and not row.text then
            row.less = {valueX, row.y + 8, ARROW_W, ROW_H - 16}
            row.more = {valueX + VALUE_W - ARROW_W, row.y + 8, ARROW_W, ROW_H - 16}
        end
    end
    Bar = {valueX + 30, rows[1].y + 14, BAR_W, ROW_H - 28}
end

local function TypeInto(key)
    local s = Current
    local char = Host:GetLastPressedChar()
    if key == Keys.BACKSPACE and #s.name > 0 then
        s.name = s.name:sub(1, -2)
    elseif char >= 32 and char < 127 and #s.name < Settings.NAME_LENGTH then
        s.name = s.name .. string.char(char)
    else
        return
    end
    Settings.Save(Host, s)
end

-- Volume follows the mouse while the button is held on the bar.
local function DragVolume(mx, my)
    if not Host:LeftMousePressed() or not Boxes.Inside(Host, mx, my, Bar) then return end
    local volume = math.floor((mx - Bar[1]) / Bar[3] * 10 + 0.5) * 10
    if volume ~= Current.volume then Change(rows[1], (volume - Current.volume) / 10) end
end

local function HandleMouse()
    local mx, my = Host:MousePos()
    for i, row in ipairs(rows) do
        if Boxes.Inside(Host, mx, my, row.box) and (mx ~= LastMouseX or my ~= LastMouseY) then selected = i end
    end
    LastMouseX, LastMouseY = mx, my
    DragVolume(mx, my)
    if not Host:LeftMouseClicked() then return end
    local row = rows[selected]
    if not Boxes.Inside(Host, mx, my, row.box) then return end
    if row.less and Boxes.Inside(Host, mx, my, row.less) then Change(row, -1)
    elseif row.more and Boxes.Inside(Host, mx, my, row.more) then Change(row, 1)
    elseif row.action then Activate(row) end
end

function Update(dt)
    Backdrop:Update(dt)
    local key = Host:GetLastPressedKey()
    local row = rows[selected]
    if key == Keys.UP then selected = (selected - 2) % #rows + 1
    elseif key == Keys.DOWN then selected = selected % #rows + 1
    elseif key == Keys.LEFT then Change(row, -1)
    elseif key == Keys.RIGHT then Change(row, 1)
    elseif row.text then TypeInto(key) end
    if Host:EnterPressed() and row.action then Activate(row) end
    HandleMouse()
end

local function DrawArrows(row, colour)
    Boxes.Box(Host, row.less[1], row.less[2], row.less[3], row.less[4], colour)
    Boxes.Box(Host, row.more[1], row.more[2], row.more[3], row.more[4], colour)
    Boxes.Unclip(Host)
    Boxes.Text(Font, row.less[1] + ARROW_W / 2, row.y + 14, "<", Boxes.INK, "center")
    Boxes.Text(Font, row.more[1] + ARROW_W / 2, row.y + 14, ">", Boxes.INK, "center")
end

local function DrawVolume()
    Boxes.Frame(Host, Bar[1] - 2, Bar[2] - 2, Bar[3] + 4, Bar[4] + 4, 2, Boxes.CAP, Boxes.DARK)
    if Current.volume > 0 then
        Boxes.Box(Host, Bar[1], Bar[2], math.floor(Bar[3] * Current.volume / 100), Bar[4], 0xFF5A8FC8)
    end
    Boxes.Unclip(Host)
end

local function DrawRow(i, row)
    local on = i == selected
    Boxes.Box(Host, row.box[1], row.box[2], row.box[3], row.box[4], on and Boxes.PANEL_LIGHT or Boxes.PANEL)
    if on then Boxes.Box(Host, row.box[1], row.box[2], 4, row.box[4], Boxes.GOLD) end
    Boxes.Unclip(Host)
    Boxes.Text(Font, PanelX + 24, row.y + 14, row.label, on and Boxes.GOLD or Boxes.INK)
    if row.less then DrawArrows(row, on and 0xFF5A8FC8 or 0xFF33669A) end
    if row.id == "volume" then DrawVolume() end
    if row.value then
        local text = row.value(Current)
        if row.text and on then text = text .. "_" end
        local x = row.less and row.less[1] + VALUE_W / 2 or PanelX + PANEL_W - 24
        Boxes.Text(Font, x, row.y + 14, text, Boxes.INK, row.less and "center" or "right")
    end
end

function Render(x, y)
    Backdrop:Render(x, y)
    Boxes.Text(Title, Width / 2, 40, "OPTIONS", Boxes.GOLD, "center")
    Boxes.Frame(Host, PanelX - 4, TOP - 4, PANEL_W + 8, #rows * ROW_H + 8, 4, Boxes.DARK, Boxes.PANEL)
    for i, row in ipairs(rows) do DrawRow(i, row) end
    Boxes.KeyLine(Host, Font, {{"UP/DOWN", "choose"}, {"LEFT/RIGHT", "change"}, {"ESC", "back"}},
        Width / 2, Height - 64)
    Boxes.Unclip(Host)
end
