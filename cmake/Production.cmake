# The production: Demo, the setup dialog and the entry point (filled in by the platform work).
