-- Drawing with coloured boxes: each box is a screen clear inside a clipping
-- rectangle. Key names are drawn as blocky 5 x 7 glyphs, so the screens can
-- show their keys before the game has fonts. Loaded with preload("scripts/boxes").

Boxes = {}

-- Size of one glyph pixel, and the glyph cell (5 pixels and a gap).
Boxes.PIXEL = 4
local CELL = 6 * Boxes.PIXEL
local PAD = 2 * Boxes.PIXEL

local GLYPHS = {
    C = {" ####", "#    ", "#    ", "#    ", "#    ", "#    ", " ####"},
    E = {"#####", "#    ", "#    ", "#### ", "#    ", "#    ", "#####"},
    O = {" ### ", "#   #", "#   #", "#   #", "#   #", "#   #", " ### "},
    S = {" ####", "#    ", "#    ", " ### ", "    #", "    #", "#### "},
}

function Boxes.Box(host, x, y, w, h, colour)
    host:SetClipping(x, y, w, h)
    host:ClearScreen(colour)
end

-- Whole screen again, so nothing drawn after the script is clipped.
function Boxes.Unclip(host)
    host:SetClipping()
end

-- Each row's runs of set pixels as one box.
local function Glyph(host, rows, x, y, colour)
    local p = Boxes.PIXEL
    for row, line in ipairs(rows) do
        local first = nil
        for col = 1, #line + 1 do
            local set = line:sub(col, col) == "#"
            if set and not first then first = col end
            if not set and first then
                Boxes.Box(host, x + (first - 1) * p, y + (row - 1) * p, (col - first) * p, p, colour)
                first = nil
            end
        end
    end
end

function Boxes.KeyCapSize(keys)
    return #keys * CELL - Boxes.PIXEL + 2 * PAD, 7 * Boxes.PIXEL + 2 * PAD
end

-- A key cap: a light box with the key's name in dark glyphs.
function Boxes.KeyCap(host, keys, x, y)
    local w, h = Boxes.KeyCapSize(keys)
    Boxes.Box(host, x, y, w, h, 0xFFE8E4D8)
    for i = 1, #keys do
        local rows = GLYPHS[keys:sub(i, i)]
        if rows then Glyph(host, rows, x + PAD + (i - 1) * CELL, y + PAD, 0xFF202020) end
    end
end

-- Boxes given as {x, y, w, h} relative to (x, y).
function Boxes.Shape(host, rects, x, y, colour)
    for _, r in ipairs(rects) do Boxes.Box(host, x + r[1], y + r[2], r[3], r[4], colour) end
end
