#pragma once

namespace pesterly {

// Builds the program's parts, shows the main window and runs until it unloads.
int RunApplication(int argc, char** argv);

}  // namespace pesterly
