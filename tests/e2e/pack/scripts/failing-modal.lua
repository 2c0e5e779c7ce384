-- A modal screen whose first Update fails.
function Init(host) Host = host end
function Update(dt) error("deliberate failure in a modal screen") end
function Render(x, y) Host:ClearScreen(4278190335) end
