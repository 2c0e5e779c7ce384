-- The debug overlay: the frame rate in the top left corner.
function Init(overlay)
    Overlay = overlay
end

function Render()
    Overlay:DrawString("FPS " .. Overlay:GetFPS())
end
