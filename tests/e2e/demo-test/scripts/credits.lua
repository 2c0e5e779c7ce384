-- The demo's credits screen, played by the test's plan.
preload("scripts/autoplay")
Autoplay.Wrap("credits", "demo/scripts/credits")
