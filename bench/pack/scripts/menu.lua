-- Throughput benchmark. The configuration's section "bench" says what to
-- draw: "sprites" sprites of "size" x "size" pixels, each bouncing inside the
-- screen and drawn with its own "Render", and "systems" particle systems that
-- wander over the screen, each drawn with its "Render". After "warmup"
-- seconds it counts frames for "seconds" seconds, reports the rate on the
-- debug output and ends the run; with "seconds" 0 it ends in its first Update.
local SECTION = "bench"
local SPEED = 240  -- at most, pixels per second on each axis

local sprites, xs, ys, vxs, vys = {}, {}, {}, {}, {}
local systems, sxs, sys, svxs, svys = {}, {}, {}, {}, {}
local count, size, systemCount = 0, 0, 0
local warmup, seconds = 0, 0
local right, bottom, systemRight, systemBottom = 0, 0, 0, 0
local elapsed, measured, frames = 0, 0, 0

local function Setting(name, default)
    local value = Host:ConfigGetNumber(SECTION, name)
    if value == 0 then return default end
    return value
end

local function RandomVelocity()
    local v = (math.random() * 2 - 1) * SPEED
    if v > -20 and v < 20 then v = 20 end
    return v
end

function Init(host)
    Host = host
    math.randomseed(12345)
    count = Setting("sprites", 0)
    size = Setting("size", 32)
    systemCount = Setting("systems", 0)
    warmup = Setting("warmup", 2)
    seconds = Host:ConfigGetNumber(SECTION, "seconds")
    local width, height = Host:GetScreenResolution()
    right, bottom, systemRight, systemBottom = width - size, height - size, width, height
    local image = "images/sprite" .. size .. ".png"
    for i = 1, count do
        sprites[i] = Host:GetSprite(image, false, 1, 1)
        xs[i], ys[i] = math.random() * right, math.random() * bottom
        vxs[i], vys[i] = RandomVelocity(), RandomVelocity()
    end
    for i = 1, systemCount do
        local ps = Host:GetParticle("particles/bench.psi", "images/particle.png")
        sxs[i], sys[i] = math.random() * width, math.random() * height
        svxs[i], svys[i] = RandomVelocity(), RandomVelocity()
        ps:FireAt(sxs[i], sys[i])
        systems[i] = ps
    end
end

-- Moves one body along one axis and turns it back at an edge.
local function Bounce(x, v, dt, limit)
    x = x + v * dt
    if x < 0 then return -x, -v end
    if x > limit then return limit + limit - x, -v end
    return x, v
end

-- The sprites' loop is written out: it runs for every sprite every frame.
local function MoveSprites(dt)
    for i = 1, count do
        local x, v = xs[i] + vxs[i] * dt, vxs[i]
        if x < 0 then x, v = -x, -v elseif x > right then x, v = right + right - x, -v end
        xs[i], vxs[i] = x, v
        local y, w = ys[i] + vys[i] * dt, vys[i]
        if y < 0 then y, w = -y, -w elseif y > bottom then y, w = bottom + bottom - y, -w end
        ys[i], vys[i] = y, w
    end
end

local function MoveSystems(dt)
    for i = 1, systemCount do
        sxs[i], svxs[i] = Bounce(sxs[i], svxs[i], dt, systemRight)
        sys[i], svys[i] = Bounce(sys[i], svys[i], dt, systemBottom)
        local ps = systems[i]
        ps:MoveTo(sxs[i], sys[i])
        ps:Update(dt)
    end
end

local function Report()
    Host:OutputDebugString(string.format(
        "bench: sprites %d size %d systems %d: %.1f fps (%d frames in %.2f s)",
        count, size, systemCount, frames / measured, frames, measured))
end

function Update(dt)
    if seconds == 0 then
        Host:Exit()
        return
    end
    MoveSprites(dt)
    MoveSystems(dt)
    elapsed = elapsed + dt
    if elapsed < warmup then return end
    -- The first frame after the warm-up starts the count; its time is not counted.
    if frames > 0 then measured = measured + dt end
    frames = frames + 1
    if measured >= seconds then
        frames = frames - 1
        Report()
        Host:Exit()
    end
end

function Render(x, y)
    Host:ClearScreen(0xFF101820)
    for i = 1, count do
        sprites[i]:Render(xs[i], ys[i])
    end
    for i = 1, systemCount do
        systems[i]:Render()
    end
end
