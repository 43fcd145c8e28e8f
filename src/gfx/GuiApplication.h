// Programs without windows (the batch tool, tests) still need a Qt Gui
// application for fonts and painting.
#pragma once

namespace hp::gfx {

// Creates the application object once per process when none exists; the
// off-screen platform is used unless the environment names another.
void EnsureGuiApplication();

}  // namespace hp::gfx
