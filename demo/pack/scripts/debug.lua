-- The debug overlay, drawn over every screen: frames per second, the last
-- frame's time and the mouse position, in the top left corner. Its colour
-- is a setting of the options screen ("SetDebugFontColor").
function Init(overlay)
    Overlay = overlay
    Overlay:SetTextColor(0xFFFFFFFF)
end

function Render()
    local x, y = Overlay:MousePos()
    Overlay:DrawString(string.format("FPS %d  %4.1f ms  mouse %d, %d",
        Overlay:GetFPS(), Overlay:TimerDelta() * 1000, x, y))
end
