-- The demo's gallery screen, played by the test's plan.
preload("scripts/autoplay")
Autoplay.Wrap("gallery", "demo/scripts/gallery")
