-- The gallery, started from the menu with "RunScript": four panels show the
-- media objects at work. A round window (a masked sprite) looks over a
-- landscape; the bee turns and grows (Space stops and starts its wings); a
-- click in the third panel throws sparks (Enter clicks too); P takes a photo
-- of the screen. H hides and shows the cursor, a crosshair here. Escape or
-- "Back" returns to the menu. This screen draws its own scene: automatic
-- rendering is off while it runs.
preload("scripts/boxes")
preload("scripts/keys")

local PANEL_W, PANEL_H = 360, 206
local PANELS = {
    {x = 30, y = 96, caption = "Masked sprite"},
    {x = 410, y = 96, caption = "Animated sprite"},
    {x = 30, y = 322, caption = "Particles: click here"},
    {x = 410, y = 322, caption = "Screen capture: P"},
}
local WINDOW = 128
local SPARK_TIME = 0.3
local PHOTO_SCALE = 0.25

local time = 0
local sparkLeft = 0
local cursorShown = true
local cursorSet = false
local clickEmulated = false
local leaving = false

function Init(host)
    Host = host
    Width, Height = Host:GetScreenResolution()
    Title = Host:GetFontEx("images/title.xml")
    Font = Host:GetFont("images/font2.fnt")
    Backdrop = Host:GetRegisteredRenderer("backdrop")
    Bee = Host:GetSprite("images/bee.png", true, 4, 10)
    Bee:SetLoop(true)
    Bee:SetHotSpot(16, 16)
    Sparks = Host:GetParticle("particles/sparks.psi", "images/particle.png")
    BackBox = {Width - 30 - 120, 28, 120, 40}
    Host:SetAutoRenderingMode(false)
end

-- The host's cursor as the rest of the game has it.
local function Leave()
    leaving = true
    if clickEmulated then Host:ResetLeftMouseClickedEmulation() end
    Host:ShowCursor()
    Host:SetCursor("images/cursor.png")
    Host:SetCursorHotSpot(0, 0)
    Host:SetAutoRenderingMode(true)
    Host:SwitchToRenderer("menu")
end

local function Inside(mx, my, panel)
    return Boxes.Inside(Host, mx, my, {panel.x, panel.y, PANEL_W, PANEL_H})
end

-- Enter is a click where the pointer is: one frame of an emulated click.
local function EmulateClick(key)
    if clickEmulated then
        Host:ResetLeftMouseClickedEmulation()
        clickEmulated = false
    end
    if key == Keys.ENTER then
        Host:EmulateLeftMouseClicked(true)
        clickEmulated = true
    end
end

local function UpdateSparks(dt, mx, my)
    local panel = PANELS[3]
    if Host:LeftMouseClicked() and Inside(mx, my, panel) then
        Sparks:FireAt(mx, my)
        sparkLeft = SPARK_TIME
    elseif Host:LeftMousePressed() and Inside(mx, my, panel) and sparkLeft > 0 then
        Sparks:MoveTo(mx, my)
        sparkLeft = SPARK_TIME
    end
    if sparkLeft > 0 then
        sparkLeft = sparkLeft - dt
        if sparkLeft <= 0 then Sparks:Stop() end
    end
    Sparks:Update(dt)
end

local function HandleKey(key)
    if key == Keys.SPACE then
        if Bee:IsPlaying() then Bee:Stop() else Bee:Play() end
    elseif key == Keys.H then
        cursorShown = not cursorShown
        if cursorShown then Host:ShowCursor() else Host:HideCursor() end
    elseif key == Keys.P then
        -- The capture is of the last frame shown, without this frame's changes.
        Photo = Host:GetLastSurface()
        Host:OutputDebugString(Photo and "gallery: photo taken" or "gallery: no photo")
    end
end

function Update(dt)
    if leaving then return end
    -- The cursor is attached after the screens, so it is set here, not in "Init".
    if not cursorSet then
        Host:SetCursor("images/crosshair.png")
        Host:SetCursorHotSpot(8, 8)
        cursorSet = true
    end
    time = time + dt
    Backdrop:Update(dt)
    Bee:Update(dt)
    local key = Host:GetLastPressedKey()
    EmulateClick(key)
    local mx, my = Host:MousePos()
    UpdateSparks(dt, mx, my)
    HandleKey(key)
    if Host:EscapePressed() or (Host:LeftMouseClicked() and Boxes.Inside(Host, mx, my, BackBox)) then Leave() end
end

local function DrawPanel(panel)
    Boxes.Frame(Host, panel.x, panel.y, PANEL_W, PANEL_H, 3, Boxes.DARK, Boxes.PANEL)
    Boxes.Box(Host, panel.x + 3, panel.y + 3, PANEL_W - 6, 26, Boxes.PANEL_LIGHT)
    Boxes.Unclip(Host)
    Boxes.Text(Font, panel.x + 12, panel.y + 8, panel.caption, Boxes.GOLD)
end

-- The window pans slowly over the landscape: the first image's texels from
-- (sx, sy) on, seen through the mask's red channel. Channel names count the
-- bytes of an ARGB texel from the low end, so "B" (bits 16-23) is red.
local function DrawMaskedSprite(panel)
    local sx = math.floor(64 + 60 * math.sin(time * 0.5))
    local sy = math.floor(64 + 60 * math.cos(time * 0.4))
    local window = Host:GetMaskedSprite("images/backdrop.png", "images/backdrop.png", "images/mask.png", sx, sy, "B")
    if not window then return end
    window:Render(panel.x + math.floor((PANEL_W - WINDOW) / 2), panel.y + 44)
    Boxes.Text(Font, panel.x + PANEL_W / 2, panel.y + PANEL_H - 26, "mask: red channel", Boxes.DIM, "center")
end

local function DrawBee(panel)
    local scale = 2.5 + math.sin(time * 1.5)
    Bee:RenderEx(panel.x + PANEL_W / 2, panel.y + 110, math.sin(time) * 0.6, scale)
    local state = Bee:IsPlaying() and "wings beating" or "wings still"
    Boxes.Text(Font, panel.x + PANEL_W / 2, panel.y + PANEL_H - 26,
        "frame " .. (Bee:CurrentFrameNumber() + 1) .. " of 4, " .. state, Boxes.DIM, "center")
end

local function DrawSparks(panel)
    Host:SetClipping(panel.x + 3, panel.y + 29, PANEL_W - 6, PANEL_H - 32)
    Sparks:Render()
    Boxes.Unclip(Host)
end

local function DrawPhoto(panel)
    local w, h = math.floor(Width * PHOTO_SCALE), math.floor(Height * PHOTO_SCALE)
    local px, py = panel.x + math.floor((PANEL_W - w) / 2), panel.y + 40
    Boxes.Frame(Host, px - 4, py - 4, w + 8, h + 8, 4, Boxes.CAP, Boxes.DARK)
    Boxes.Unclip(Host)
    if Photo then
        Photo:RenderEx(px, py, 0, PHOTO_SCALE)
    else
        Boxes.Text(Font, px + w / 2, py + h / 2 - 8, "no photo yet", Boxes.DIM, "center")
    end
end

function Render(x, y)
    Host:BeginScene()
    Backdrop:Render(x, y)
    Boxes.Text(Title, 30, 28, "GALLERY", Boxes.GOLD)
    for _, panel in ipairs(PANELS) do DrawPanel(panel) end
    DrawMaskedSprite(PANELS[1])
    DrawBee(PANELS[2])
    DrawSparks(PANELS[3])
    DrawPhoto(PANELS[4])
    Boxes.Frame(Host, BackBox[1], BackBox[2], BackBox[3], BackBox[4], 3, Boxes.DARK, 0xFF33669A)
    Boxes.Unclip(Host)
    Boxes.Text(Font, BackBox[1] + BackBox[3] / 2, BackBox[2] + 12, "Back", Boxes.INK, "center")
    Boxes.Text(Font, Width - 30, Height - 26, "GetFPS " .. Host:GetFPS(), Boxes.DIM, "right")
    Boxes.KeyLine(Host, Font, {{"SPACE", "wings"}, {"ENTER", "click"}, {"H", "cursor"}, {"ESC", "back"}},
        Width / 2 - 60, Height - 40)
    Boxes.Unclip(Host)
    Host:EndScene()
end
