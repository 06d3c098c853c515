// SPDX-License-Identifier: MIT
#pragma once
// How the desktop tells the program's windows are Livrano's: the task bar and the dock group them
// under the desktop entry (com.corvanesoftware.Livrano.desktop) and show its icon, on Wayland
// through the desktop file name and on X11 through the window class, which the desktop entry's
// StartupWMClass names.

#include <QIcon>

#include <filesystem>

namespace livrano {

// The desktop entry's name without ".desktop", as installed in share/applications.
inline constexpr const char* kDesktopFileName = "com.corvanesoftware.Livrano";
// The application name, and so the class of every window on X11 ("livrano", as the executable).
inline constexpr const char* kWindowClass = "livrano";

// The program's icon: the one installed in share/icons beside the executable's bin/ folder, else
// the one a build tree draws beside its binaries (icons/). Null when neither is there.
QIcon programIcon(const std::filesystem::path& executableFolder);

// Sets the application name, the desktop file name and the window icon of the running
// QGuiApplication; `executableFolder` is where livrano runs from.
void introduceToDesktop(const std::filesystem::path& executableFolder);

} // namespace livrano
