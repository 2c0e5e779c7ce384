-- The demo's options screen, played by the test's plan.
preload("scripts/autoplay")
Autoplay.Wrap("options", "demo/scripts/options")
