function Init(host) Host = host end
function Update(dt) Host:SwitchToRenderer("menu") end
function Render(x, y) Host:ClearScreen(4294901760) end
