function Init(overlay) Overlay = overlay end
function Render() end
