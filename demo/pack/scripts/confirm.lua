-- The quit dialog, opened by the menu with "ShowModal": Y, Enter or a click
-- on "Quit" ends the game; N, Escape or a click on "Stay" closes the dialog
-- with "EndModal". The menu below, which gets no "Update" while the dialog
-- is open and so holds still, is dimmed by a stretched shade.
preload("scripts/boxes")
preload("scripts/keys")

local PANEL_W, PANEL_H = 520, 190
local BUTTON_W, BUTTON_H = 150, 44
local SHADE_SIZE = 4

local closing = false

function Init(host)
    Host = host
    Width, Height = Host:GetScreenResolution()
    Title = Host:GetFontEx("images/title.xml")
    Font = Host:GetFont("images/font2.fnt")
    Shade = Host:GetSprite("images/shade.png", false, 1, 1)
    PanelX = math.floor((Width - PANEL_W) / 2)
    PanelY = math.floor((Height - PANEL_H) / 2)
    local by = PanelY + PANEL_H - BUTTON_H - 24
    Buttons = {
        {keys = "Y", text = "Quit", box = {PanelX + 60, by, BUTTON_W, BUTTON_H}, colour = 0xFF8E3535, light = 0xFFBF5656},
        {keys = "N", text = "Stay", box = {PanelX + PANEL_W - 60 - BUTTON_W, by, BUTTON_W, BUTTON_H},
         colour = 0xFF33669A, light = 0xFF5A8FC8},
    }
end

local function Quit()
    Host:OutputDebugString("confirm: quitting")
    Host:Exit()
end

local function Stay()
    closing = true
    Host:EndModal()
end

function Update(dt)
    if closing then return end
    local key = Host:GetLastPressedKey()
    local mx, my = Host:MousePos()
    local clicked = Host:LeftMouseClicked()
    if key == Keys.Y or Host:EnterPressed() or (clicked and Boxes.Inside(Host, mx, my, Buttons[1].box)) then
        Quit()
    elseif key == Keys.N or Host:EscapePressed() or (clicked and Boxes.Inside(Host, mx, my, Buttons[2].box)) then
        Stay()
    end
    Hovered = nil
    for i, b in ipairs(Buttons) do
        if Boxes.Inside(Host, mx, my, b.box) then Hovered = i end
    end
end

local function DrawButton(i, b)
    local x, y, w, h = b.box[1], b.box[2], b.box[3], b.box[4]
    Boxes.Frame(Host, x, y, w, h, 3, Boxes.DARK, i == Hovered and b.light or b.colour)
    Boxes.Unclip(Host)
    local capW, capH = Boxes.KeyCapSize(Font, b.keys)
    local left = x + math.floor((w - capW - 12 - Font:StringWidth(b.text)) / 2)
    Boxes.KeyCap(Host, Font, b.keys, left, y + math.floor((h - capH) / 2))
    Boxes.Text(Font, left + capW + 12, y + math.floor((h - Font:LineHeight()) / 2), b.text)
end

function Render(x, y)
    Shade:RenderEx(0, 0, 0, math.max(Width, Height) / SHADE_SIZE)
    Boxes.Frame(Host, PanelX, PanelY, PANEL_W, PANEL_H, 3, Boxes.GOLD, Boxes.PANEL)
    Boxes.Unclip(Host)
    Boxes.Text(Title, Width / 2, PanelY + 24, "QUIT?", Boxes.GOLD, "center")
    Boxes.Text(Font, Width / 2, PanelY + 78, "Leave the game? Your settings are kept.", Boxes.INK, "center")
    for i, b in ipairs(Buttons) do DrawButton(i, b) end
    Boxes.Unclip(Host)
end
