function Init(host) Host = host end
function Update(dt) Host:SwitchToRenderer("credits") end
function Render(x, y) Host:ClearScreen(4278255360) end
