-- The options screen: Left and Right set the sound volume in steps of ten,
-- shown as a bar. Escape returns to the menu (the host does that itself).
preload("scripts/boxes")

local KEY_LEFT, KEY_RIGHT = 37, 39
local BAR_W, BAR_H = 400, 32

local volume = 100

function Init(host)
    Host = host
    Width, Height = Host:GetScreenResolution()
end

function Update(dt)
    local key = Host:GetLastPressedKey()
    local step = (key == KEY_RIGHT and 10) or (key == KEY_LEFT and -10) or 0
    if step ~= 0 then
        volume = math.max(0, math.min(100, volume + step))
        Host:SetSoundVolume(volume)
    end
end

function Render(x, y)
    Boxes.Unclip(Host)
    Host:ClearScreen(0xFF1E2C3A)
    local bx = x + math.floor((Width - BAR_W) / 2)
    local by = y + math.floor((Height - BAR_H) / 2)
    Boxes.Box(Host, bx - 4, by - 4, BAR_W + 8, BAR_H + 8, 0xFFE8E4D8)
    Boxes.Box(Host, bx, by, BAR_W, BAR_H, 0xFF10161E)
    if volume > 0 then Boxes.Box(Host, bx, by, BAR_W * volume / 100, BAR_H, 0xFF5A8FC8) end
    Boxes.KeyCap(Host, "ESC", x + 24, y + 24)
    Boxes.Unclip(Host)
end
