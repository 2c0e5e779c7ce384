-- Drawing with coloured boxes and text, shared by the screens. A box is a
-- screen clear inside a clipping rectangle; text goes through a script font
-- (from "GetFont" or "GetFontEx"). Loaded with preload("scripts/boxes").

Boxes = {}

-- Colours of the whole game, so every screen looks the same.
Boxes.INK = 0xFFF4F1E8
Boxes.DIM = 0xFFB8C4E0
Boxes.DARK = 0xFF0E1320
Boxes.PANEL = 0xFF1F2A40
Boxes.PANEL_LIGHT = 0xFF2C3B58
Boxes.GOLD = 0xFFFFE19A
Boxes.CAP = 0xFFE8E4D8
Boxes.CAP_INK = 0xFF202020

local CAP_PAD_X, CAP_PAD_Y = 8, 6

function Boxes.Box(host, x, y, w, h, colour)
    host:SetClipping(x, y, w, h)
    host:ClearScreen(colour)
end

-- Whole screen again, so nothing drawn after the script is clipped.
function Boxes.Unclip(host)
    host:SetClipping()
end

-- A box with a border of the given width in another colour.
function Boxes.Frame(host, x, y, w, h, border, edge, fill)
    Boxes.Box(host, x, y, w, h, edge)
    Boxes.Box(host, x + border, y + border, w - 2 * border, h - 2 * border, fill)
end

-- Boxes given as {x, y, w, h} relative to (x, y).
function Boxes.Shape(host, rects, x, y, colour)
    for _, r in ipairs(rects) do Boxes.Box(host, x + r[1], y + r[2], r[3], r[4], colour) end
end

-- Text in one colour and alignment ("left", "right" or "center"). The
-- colour is set on every call: fonts on the same file share it.
function Boxes.Text(font, x, y, text, colour, align)
    font:SetColor(colour or Boxes.INK)
    if align == "center" then font:AlignCenter()
    elseif align == "right" then font:AlignRight()
    else font:AlignLeft() end
    font:DrawString(x, y, text)
end

function Boxes.KeyCapSize(font, keys)
    return font:StringWidth(keys) + 2 * CAP_PAD_X, font:LineHeight() + 2 * CAP_PAD_Y
end

-- A key cap: a light box with a dark rim and the key's name on it.
function Boxes.KeyCap(host, font, keys, x, y)
    local w, h = Boxes.KeyCapSize(font, keys)
    Boxes.Frame(host, x, y, w, h, 2, 0xFF8C8A80, Boxes.CAP)
    Boxes.Unclip(host)
    Boxes.Text(font, x + CAP_PAD_X, y + CAP_PAD_Y, keys, Boxes.CAP_INK)
    return w, h
end

-- A line of key caps, each followed by what it does, centred on cx:
-- items are {keys, text}.
function Boxes.KeyLine(host, font, items, cx, y)
    local GAP, AFTER = 8, 28
    local total = 0
    for _, item in ipairs(items) do
        total = total + Boxes.KeyCapSize(font, item[1]) + GAP + font:StringWidth(item[2]) + AFTER
    end
    local x = math.floor(cx - (total - AFTER) / 2)
    for _, item in ipairs(items) do
        local w, h = Boxes.KeyCap(host, font, item[1], x, y)
        x = x + w + GAP
        Boxes.Text(font, x, y + CAP_PAD_Y, item[2], Boxes.DIM)
        x = x + font:StringWidth(item[2]) + AFTER
    end
end

-- True when (x, y) lies inside the box {x, y, w, h}.
function Boxes.Inside(host, x, y, box)
    return host:TestIntersection(x, y, 1, 1, box[1], box[2], box[3], box[4])
end
