-- Walks the front end once: menu, options, credits, menu again, then ends
-- the run after storing what it saw. The configuration's "e2e"/"mode" picks
-- something else: a failure in Update, in a modal screen or of the C stack,
-- or storing a UTF-8 text and ending.
function Init(host)
    Host = host
    Visits = 0
end

local function OverflowTheCStack()
    local t = setmetatable({}, {})
    getmetatable(t).__index = function(self, key) return self[key] end
    return t.anything
end

function Update(dt)
    Visits = Visits + 1
    local mode = Host:ConfigGetString("e2e", "mode")
    if mode == "error" then
        error("deliberate failure in Update")
    elseif mode == "modal" then
        Host:ShowModal("scripts\\failing-modal.lua")
        return
    elseif mode == "stack" then
        OverflowTheCStack()
    elseif mode == "utf8" then
        Host:ConfigSetString("e2e", "name", "Jürgen 日")
        Host:Exit()
        return
    end
    if Visits == 1 then
        Host:SwitchToRenderer("options")
    else
        Host:ConfigSetString("e2e", "result", "walked")
        Host:ConfigSetNumber("e2e", "visits", Visits)
        Host:Exit()
    end
end

function Render(x, y)
    Host:ClearScreen(4278190335)
end
