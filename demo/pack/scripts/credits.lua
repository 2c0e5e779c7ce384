-- The credits screen: the text of "text/credits.txt" from the pack scrolls
-- up and starts again; a line "# ..." is a heading in the title font. A
-- click or Escape returns to the menu. The host hides the cursor here.
preload("scripts/boxes")

local SPEED = 40
local TOP, BOTTOM = 96, 512
local HEADING_BEFORE, HEADING_AFTER, LINE_H, BLANK_H = 12, 6, 24, 18

-- The first line starts near the top, so the screen is never empty at first.
local scroll = BOTTOM - TOP - 24

local function Layout(text)
    local lines, y = {}, 0
    for line in (text .. "\n"):gmatch("([^\n]*)\n") do
        line = line:gsub("\r$", "")
        if line:sub(1, 2) == "# " then
            y = y + HEADING_BEFORE
            lines[#lines + 1] = {y = y, text = line:sub(3):upper(), heading = true}
            y = y + Title:LineHeight() + HEADING_AFTER
        elseif line == "" then
            y = y + BLANK_H
        else
            lines[#lines + 1] = {y = y, text = line}
            y = y + LINE_H
        end
    end
    return lines, y
end

function Init(host)
    Host = host
    Width, Height = Host:GetScreenResolution()
    Title = Host:GetFontEx("images/title.xml")
    Font = Host:GetFont("images/font2.fnt")
    Backdrop = Host:GetRegisteredRenderer("backdrop")
    local text = Host:GetTextFileData("text/credits.txt") or "The credits are missing from the pack."
    Lines, TextHeight = Layout(text)
end

function Update(dt)
    Backdrop:Update(dt)
    scroll = (scroll + SPEED * dt) % (TextHeight + BOTTOM - TOP)
    if Host:LeftMouseClicked() or Host:EscapePressed() then Host:SwitchToRenderer("menu") end
end

function Render(x, y)
    Backdrop:Render(x, y)
    Boxes.Text(Title, Width / 2, 30, "CREDITS", Boxes.GOLD, "center")
    -- Lines appear at the bottom edge of the window and leave at its top.
    Host:SetClipping(0, TOP, Width, BOTTOM - TOP)
    local base = BOTTOM - math.floor(scroll)
    for _, line in ipairs(Lines) do
        local ly = base + line.y
        if ly > TOP - 48 and ly < BOTTOM then
            if line.heading then
                Boxes.Text(Title, Width / 2, ly, line.text, Boxes.INK, "center")
            else
                Boxes.Text(Font, Width / 2, ly, line.text, Boxes.DIM, "center")
            end
        end
    end
    Boxes.Unclip(Host)
    Boxes.KeyLine(Host, Font, {{"ESC", "back"}, {"CLICK", "back"}}, Width / 2, Height - 64)
    Boxes.Unclip(Host)
end
