-- The player's settings, kept in the configuration's "options" section so
-- that they hold from one start to the next. Loaded with preload("scripts/settings").

Settings = {}

local SECTION = "options"

Settings.OVERLAY = {
    {name = "White", colour = 0xFFFFFFFF},
    {name = "Gold", colour = 0xFFFFD75A},
    {name = "Green", colour = 0xFF7CE38B},
    {name = "Sky", colour = 0xFF7FC8FF},
    {name = "Rose", colour = 0xFFFF8A8A},
}
Settings.NAME_LENGTH = 14

local function Defaults()
    return {volume = 80, sound = true, overlay = 1, pointer = false, name = "Player"}
end

local function Clamp(value, low, high)
    return math.max(low, math.min(high, math.floor(value)))
end

-- A value never saved reads as 0 or "", so a marker tells a saved 0 from
-- none; values edited by hand are brought back into range.
function Settings.Load(host)
    local s = Defaults()
    if host:ConfigGetString(SECTION, "saved") ~= "yes" then return s end
    s.volume = Clamp(host:ConfigGetNumber(SECTION, "volume"), 0, 100)
    s.sound = host:ConfigGetNumber(SECTION, "sound") ~= 0
    s.overlay = Clamp(host:ConfigGetNumber(SECTION, "overlay"), 1, #Settings.OVERLAY)
    s.pointer = host:ConfigGetNumber(SECTION, "pointer") ~= 0
    s.name = host:ConfigGetString(SECTION, "name"):sub(1, Settings.NAME_LENGTH)
    return s
end

function Settings.Save(host, s)
    host:ConfigSetString(SECTION, "saved", "yes")
    host:ConfigSetNumber(SECTION, "volume", s.volume)
    host:ConfigSetNumber(SECTION, "sound", s.sound and 1 or 0)
    host:ConfigSetNumber(SECTION, "overlay", s.overlay)
    host:ConfigSetNumber(SECTION, "pointer", s.pointer and 1 or 0)
    host:ConfigSetString(SECTION, "name", s.name)
end

-- Forgets every saved setting; the defaults hold again.
function Settings.Reset(host)
    host:ConfigDeleteSection(SECTION)
    return Defaults()
end

-- "EnableSound"(false) pauses what plays, but a sound started later would
-- still be heard: the screens ask this before they play one.
function Settings.SoundOn(host)
    return Settings.Load(host).sound
end

-- The overlay's colour takes effect only once the overlay exists, after
-- every screen's "Init": apply the settings from an "Update".
function Settings.Apply(host, s)
    host:SetSoundVolume(s.volume)
    host:EnableSound(s.sound)
    host:ShowSystemCursor(s.pointer)
    host:SetDebugFontColor(Settings.OVERLAY[s.overlay].colour)
end
