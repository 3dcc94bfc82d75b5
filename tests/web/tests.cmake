# The page in headless Chromium.
