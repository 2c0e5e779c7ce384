-- The engine's key codes that the screens use. Loaded with preload("scripts/keys").
Keys = {
    BACKSPACE = 8, ENTER = 13, CTRL = 17, ESCAPE = 27, SPACE = 32,
    LEFT = 37, UP = 38, RIGHT = 39, DOWN = 40,
    C = 67, F = 70, G = 71, H = 72, N = 78, O = 79, P = 80, Q = 81, Y = 89,
}
