-- The main menu of the demo game.
function Init(host)
    Host = host
end

function Update(dt)
end

function Render(x, y)
end
