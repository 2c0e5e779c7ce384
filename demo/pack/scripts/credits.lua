-- The credits screen: lines of credits (boxes until the game has fonts)
-- scroll up and start again. A click or Escape returns to the menu.
preload("scripts/boxes")

local SPEED = 40
local LINE_H = 36
local widths = {320, 200, 260, 140, 300, 180, 240, 120}

local scroll = 0

function Init(host)
    Host = host
    Width, Height = Host:GetScreenResolution()
end

function Update(dt)
    scroll = (scroll + SPEED * dt) % (#widths * LINE_H + Height)
    if Host:LeftMouseClicked() or Host:EscapePressed() then Host:SwitchToRenderer("menu") end
end

function Render(x, y)
    Boxes.Unclip(Host)
    Host:ClearScreen(0xFF202820)
    for i, w in ipairs(widths) do
        local ly = Height + (i - 1) * LINE_H - math.floor(scroll)
        if ly > -LINE_H and ly < Height then
            Boxes.Box(Host, x + math.floor((Width - w) / 2), y + ly, w, LINE_H / 2, i % 2 == 1 and 0xFFF4F1E8 or 0xFF9FB89F)
        end
    end
    Boxes.KeyCap(Host, "ESC", x + 24, y + 24)
    Boxes.Unclip(Host)
end
