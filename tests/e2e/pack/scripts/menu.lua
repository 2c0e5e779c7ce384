-- Walks the front end once: menu, options, credits, menu again, then ends
-- the run after storing what it saw. The configuration's "e2e"/"mode" picks
-- a failure instead.
function Init(host)
    Host = host
    Visits = 0
end

function Update(dt)
    Visits = Visits + 1
    if Host:ConfigGetString("e2e", "mode") == "error" then
        error("deliberate failure in Update")
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
