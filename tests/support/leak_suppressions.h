#pragma once

// LeakSanitizer's suppressions for the test programs and for the program they start: only what
// a library keeps for the process's life, named by its library (D-Bus, GLib, fontconfig, Qt's
// platform plugins and their client libraries); any other leak still fails the run.
inline constexpr const char* kLeakSuppressions =
    "leak:libdbus-1\nleak:libglib-2.0\nleak:libfontconfig\nleak:libQt6Gui\nleak:libQt6XcbQpa\n"
    "leak:libqoffscreen\nleak:libwayland-client\nleak:libQt6WaylandClient\nleak:libqwayland\n";
