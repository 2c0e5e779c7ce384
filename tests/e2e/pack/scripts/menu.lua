-- Walks the front end once: menu, options, credits, menu again, then ends
-- the run after storing what it saw. The configuration's "e2e"/"mode" picks
-- something else: a failure in Update, in a modal screen or of the C stack,
-- storing a UTF-8 text and ending, or a run that goes on until it is told
-- to end.
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
    elseif mode == "wait" then
        if Visits == 1 then
            Host:ConfigSetString("e2e", "result", "waited")
            Host:OutputDebugString("e2e: waiting")
        end
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
