// Every host function, every method of every script object and of the debug
// overlay, called with bad arguments: each call works or raises one of the
// readers' or checks' own texts; nothing else (a crash, a sanitizer report,
// another error) may come of it.
#include "tests/media/XmlFontSample.h"
#include "tests/script/HostScriptFixture.h"
#include "tests/support/ParticlePresets.h"

#include <cstring>
#include <string>

namespace {

// The sweep, shared by the main screen's and the overlay's scripts. Sweep(t,
// name, args) calls t[name] with the arguments `args` as given, without its
// table, with too many, with each argument in turn replaced by each bad value,
// and with all of them bad; names in Only are given only values that no
// reader takes as text (a name they take would be a script or a global that
// is not there, which ends the game by design). Odd results are printed.
const char kSweep[] = R"(
local NIL = {}
local Bad = {NIL, true, {}, print, 0/0, 1/0, -1/0, -2^31 - 1, 2^63, 1e308, '', '7', ('x'):rep(2000), 'a\0b'}
local NotText = {NIL, true, {}, print}
local Texts = {['lua_isstring(luaVM,idx)'] = true, ['lua_isnumber(luaVM,idx)'] = true,
  ['lua_isboolean(luaVM,idx)'] = true, ['top == 5'] = true, ['top == 7'] = true, ['inScriptRender'] = true,
  ['parent != NULL'] = true}
Only = {}
local function Try(what, f, ...)
  local ok, err = pcall(f, ...)
  if not ok and not Texts[err] then print(what .. ': ' .. tostring(err)) end
end
local function Arguments(args, i, v)
  local a = {}
  for j = 1, #args do a[j] = args[j] end
  if v == NIL then a[i] = nil else a[i] = v end
  return a
end
function Sweep(t, name, args)
  local f, n = t[name], #args
  if type(f) ~= 'function' then print(name .. ' is missing') return end
  local values = Only[name] and NotText or Bad
  if not Only[name] then
    Try(name .. ' as given', f, t, unpack(args, 1, n))
    Try(name .. ' without its table', f, unpack(args, 1, n))
    Try(name .. ' with more', f, t, unpack(args, 1, n), 1, 'x', {})
  end
  Try(name .. ' with none', f)
  Try(name .. ' with its table alone', f, t)
  for i = 1, n do
    for _, v in ipairs(values) do Try(name .. ' #' .. i, f, t, unpack(Arguments(args, i, v), 1, n)) end
  end
  for _, v in ipairs(values) do
    local a = {}
    for j = 1, n do a[j] = v ~= NIL and v or nil end
    Try(name .. ' all bad', f, t, unpack(a, 1, n))
  end
end
function SweepAll(t, calls)
  for _, call in ipairs(calls) do Sweep(t, call[1], call[2]) end
end
)";

const char kMain[] = R"(
Only = {RunScript = true, ShowModal = true, RegisterRenderer = true, CallFunction = true, OutputDebugString = true}
local Sprite = {{'Render', {1, 2}}, {'Update', {0.1}}, {'Size', {}}, {'Position', {}}, {'SwitchToFrame', {1}},
  {'UnderPosition', {1, 1}}, {'Clicked', {}}, {'Hide', {}}, {'Show', {}}, {'CreateOpacityMap', {10}},
  {'SetColor', {0xFFFFFFFF}}, {'IsVisible', {}}, {'IsEnabled', {}}, {'Disable', {}}, {'Enable', {}},
  {'CurrentFrameNumber', {}}, {'SetPosition', {1, 1}}, {'Stop', {}}, {'Play', {}}, {'IsPlaying', {}},
  {'SetHotSpot', {1, 1}}, {'RenderEx', {1, 1, 0.5, 2}}, {'SetRect', {0, 0, 8, 8, true}}, {'SetBlendMode', {1}},
  {'FlipHorizontal', {}}, {'FlipVertical', {}}, {'FlipHV', {}}, {'SetLoop', {true}}, {'UnderPosition', {1, 1}}}
local Font = {{'DrawString', {1, 1, 'AB\nBA'}}, {'SetColor', {1}}, {'LineHeight', {}}, {'AlignLeft', {}},
  {'AlignRight', {}}, {'AlignCenter', {}}, {'StringWidth', {'AB\nA'}}, {'SetSpacing', {1}}, {'SetTracking', {1}},
  {'SetScale', {1}}, {'DrawString', {1, 1, 'AB'}}}
local Stream = {{'Play', {false, 50}}, {'Pause', {}}, {'Resume', {}}, {'SetVolume', {50}}, {'IsPlaying', {}},
  {'PlayEx', {true, 50}}, {'GetVolume', {}}, {'Stop', {}}}
local Particle = {{'FireAt', {1, 1}}, {'Update', {0.1}}, {'MoveTo', {1, 1}}, {'MoveToEx', {1, 1}}, {'Render', {}},
  {'IsAlive', {}}, {'Stop', {}}}
-- Without its mask the call makes nothing, after reading and checking all.
local Masked = {'images/a.png', 'images/a.png', 'images/none.png', 0, 0, 'R'}
local Functions = {
  {'GetSprite', {'images/a.png', true, 4, 10}}, {'MousePos', {}}, {'GetScreenResolution', {}},
  {'LeftMousePressed', {}}, {'SwitchToRenderer', {'nobody'}}, {'Exit', {}}, {'RunScript', {'scripts/x.lua'}},
  {'HideCursor', {}}, {'ShowCursor', {}}, {'EscapePressed', {}}, {'EnterPressed', {}},
  {'EndModal', {}}, {'ShowModal', {'scripts/x.lua'}}, {'GetFont', {'fonts/f.fnt'}}, {'GetSound', {'snd/s.wav'}},
  {'ConfigGetString', {'s', 'v'}}, {'ConfigSetString', {'s', 'v', 'x'}}, {'ConfigGetNumber', {'s', 'v'}},
  {'ConfigSetNumber', {'s', 'v', 1}}, {'GetParticle', {'fx/p.psi', 'images/a.png'}}, {'SetClipping', {0, 0, 9, 9}},
  {'RegisterRenderer', {'x', 'scripts/x.lua'}}, {'CacheTexture', {'images/a.png'}}, {'CacheSound', {'snd/s.wav'}},
  {'Update', {0.1}}, {'Render', {0, 0}}, {'GetRegisteredRenderer', {'nobody'}}, {'CallFunction', {'Noop'}},
  {'LeftMouseClicked', {}}, {'SetDebugFontColor', {1}}, {'ClearScreen', {0}}, {'EnableSound', {true}},
  {'SetSoundVolume', {50}}, {'TestIntersection', {0, 0, 1, 1, 0, 0, 1, 1}}, {'EmulateLeftMouseClicked', {false}},
  {'ResetLeftMouseClickedEmulation', {}}, {'GetLastPressedKey', {}}, {'GetLastPressedChar', {}},
  {'IsKeyPressed', {65}}, {'OutputDebugString', {'x'}}, {'SetCursorHotSpot', {1, 1}}, {'GetFPS', {}},
  {'SetFullScreen', {true}}, {'GetMaskedSprite', Masked}, {'SetAutoRenderingMode', {true}}, {'BeginScene', {}},
  {'EndScene', {}}, {'GetFontEx', {'fonts/x.xml'}}, {'SetCursor', {'images/a.png'}}, {'ShowSystemCursor', {true}},
  {'GetTextFileData', {'text/t.txt'}}, {'ConfigDeleteSection', {'s'}}}
local busy = false
function Init(h) Host = h end
function Update(dt) end
function Noop() end
function Render(x, y)
  if busy then return end
  busy = true
  for _, call in ipairs(Functions) do
    Sweep(Host, call[1], call[2])
    Host:SetAutoRenderingMode(true)
  end
  -- A whole screen capture takes long: once, given surplus arguments.
  Try('GetLastSurface', Host.GetLastSurface, Host, 0/0, {}, 'x')
  -- A texel offset of any size, with the mask.
  for _, v in ipairs({0/0, 1/0, -2^31 - 1, 2^63}) do
    Try('masked at ' .. v, Host.GetMaskedSprite, Host, 'images/a.png', 'images/a.png', 'images/a.png', v, v, 'R')
  end
  local objects = {{Host:GetSprite('images/a.png', false, 1, 1), Sprite},
    {Host:GetSprite('images/a.png', true, 4, 10), Sprite}, {Host:GetFont('fonts/f.fnt'), Font},
    {Host:GetFontEx('fonts/x.xml'), Font}, {Host:GetSound('snd/s.wav'), Stream},
    {Host:GetParticle('fx/p.psi', 'images/a.png'), Particle}}
  for _, o in ipairs(objects) do SweepAll(o[1], o[2]) end
  -- Tables of deleted sprites do nothing.
  local masked = Host:GetMaskedSprite('images/a.png', 'images/a.png', 'images/a.png', 0, 0, 'R')
  for _, s in ipairs({objects[1][1], objects[2][1], masked}) do
    s:Delete()
    Sweep(s, 'Delete', {})
    SweepAll(s, Sprite)
  end
  print('done')
  busy = false
end
)";

const char kOverlay[] = R"(
function Init(t) Overlay = t end
function Render()
  if Swept then return end
  Swept = true
  SweepAll(Overlay, {{'GetFPS', {}}, {'DrawString', {'AB %s %n'}}, {'TimerDelta', {}}, {'MousePos', {}},
    {'SetTextColor', {1}}})
  print('overlay done')
end
)";

class BadArgumentsTest : public HostScriptFixture {};

TEST_F(BadArgumentsTest, EveryFunctionAndMethodWorksOrRaisesAClearText) {
    engine->AddImage("images/a.png", 64, 32);
    engine->AddImage("fonts/glyphs.png", 64, 32);
    engine->AddImage("images/glyphs.png", 64, 32);
    const char description[] = "[GFXFONT]\nBitmap = glyphs.png\nChar=41,0,0,10,17,0,1\nChar=42,20,0,8,12,0,0\n";
    engine->AddFile("fonts/f.fnt", description);
    engine->AddFile("images/font2.fnt", description);
    engine->AddFile("fonts/x.xml", kXmlFontSample);
    engine->AddImage("fonts/p0.png", 64, 64);
    engine->AddImage("fonts/p1.png", 64, 64);
    engine->AddSound("snd/s.wav");
    engine->AddFile("fx/p.psi", SteadyPreset());
    engine->AddFile("text/t.txt", std::string("one\0two", 7));
    engine->AddFile("scripts/debug.lua", std::string(kSweep) + kOverlay);
    EXPECT_EQ(RunMain(std::string(kSweep) + kMain), "done\noverlay done\n");
}

}  // namespace
