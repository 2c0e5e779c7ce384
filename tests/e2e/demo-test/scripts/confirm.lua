-- The demo's confirm screen, played by the test's plan.
preload("scripts/autoplay")
Autoplay.Wrap("confirm", "demo/scripts/confirm")
