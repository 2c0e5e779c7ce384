-- The night sky behind the menu, options, credits and gallery screens:
-- bands of colour and embers drifting up. The menu registers it with
-- "RegisterRenderer" as "backdrop"; it is never the active screen itself,
-- the others drive it through the table "GetRegisteredRenderer" gives them
-- ("Update" and "Render"), and "CallFunction"("Burst") throws sparks.
preload("scripts/boxes")

local BANDS = 24
local TOP, BOTTOM = {0x10, 0x16, 0x2E}, {0x3A, 0x22, 0x4A}
local BURST_TIME = 0.25
-- Seconds of embers made before the first frame, so the sky is never bare.
local WARM_UP, WARM_STEP = 8, 0.1

local time = 0
local burstLeft = 0

local function Mix(a, b, t)
    return math.floor(a + (b - a) * t + 0.5)
end

local function BandColour(i)
    local t = (i - 1) / (BANDS - 1)
    return 0xFF000000 + Mix(TOP[1], BOTTOM[1], t) * 0x10000 + Mix(TOP[2], BOTTOM[2], t) * 0x100
        + Mix(TOP[3], BOTTOM[3], t)
end

function Init(host)
    Host = host
    Width, Height = Host:GetScreenResolution()
    Embers = Host:GetParticle("particles/embers.psi", "images/particle.png")
    Embers:FireAt(Width / 2, Height + 8)
    Sparks = Host:GetParticle("particles/sparks.psi", "images/particle.png")
    Colours = {}
    for i = 1, BANDS do Colours[i] = BandColour(i) end
    for _ = 1, WARM_UP / WARM_STEP do Update(WARM_STEP) end
end

function Update(dt)
    time = time + dt
    Embers:MoveTo(Width / 2 + math.sin(time * 0.37) * Width * 0.45, Height + 8)
    Embers:Update(dt)
    if burstLeft > 0 then
        burstLeft = burstLeft - dt
        if burstLeft <= 0 then Sparks:Stop() end
    end
    Sparks:Update(dt)
end

function Render(x, y)
    local h = math.ceil(Height / BANDS)
    for i = 1, BANDS do Boxes.Box(Host, x, y + (i - 1) * h, Width, h, Colours[i]) end
    Boxes.Unclip(Host)
    Embers:Render()
    Sparks:Render()
end

-- A short shower of sparks somewhere near the bottom of the screen.
function Burst()
    Sparks:FireAt(math.random(Width * 0.2, Width * 0.8), Height * 0.85)
    burstLeft = BURST_TIME
end
