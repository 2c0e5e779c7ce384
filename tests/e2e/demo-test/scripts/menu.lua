-- The demo's menu screen, played by the test's plan.
preload("scripts/autoplay")
Autoplay.Wrap("menu", "demo/scripts/menu")
