-- Not shown by the benchmark; the menu screen registers it.
function Init(host) end
function Update(dt) end
function Render(x, y) end
