function Init(host) Host = host end
function Update(dt) Host:SwitchToRenderer("menu") end
function Render(x, y)
    Host:ClearScreen(4294901760)
    if not Captured then
        Captured = true
        Host:ConfigSetString("e2e", "captured", Host:GetLastSurface() and "yes" or "no")
    end
end
