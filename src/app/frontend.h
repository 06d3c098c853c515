// SPDX-License-Identifier: MIT
#pragma once
// The port through which the core reaches the screen. The core never includes a widget header:
// the Qt window, the terminal and the tests each implement this interface.
//
// Every call is made on the thread that runs the core's operation. Implementations that draw
// must show the change at once: a build blocks its thread, and these calls are the only
// moments the user sees progress.

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace livrano {

// A picture for the preview: rows top-down, three bytes per pixel in red, green, blue order.
struct PreviewPicture {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgb;
};

class Frontend {
public:
    virtual ~Frontend() = default;

    // The status line: replaces its text and its detail (UTF-8, as every message of the core).
    // The text is short enough for the window's line; the detail, often empty, holds what the
    // text leaves out (full paths and names, lists): the window shows it as the line's tooltip,
    // a terminal prints it after the text.
    virtual void setStatus(const std::string& text, const std::string& detail) = 0;
    void setStatusText(const std::string& text) { setStatus(text, {}); }
    // The progress area, shown only while a build runs.
    virtual void showProgressArea() = 0;
    virtual void hideProgressArea() = 0;
    // A percentage, nominally 0..100 but never clamped: drawing it is the window's business.
    virtual void setProgress(double percent) = 0;

    // The main window's texture list: replaces every line and selects the first.
    virtual void setTextureList(const std::vector<std::string>& lines) = 0;
    // Every current-choice label and choice button of the main window and the wizard screens
    // goes back to its look for an empty choice.
    virtual void showEmptyChoices() = 0;
    // The confirmed tail number changed outside its own screen (the aircraft's default).
    virtual void showTailNumber(const std::string& tailNumber) = 0;

    // The preview image: shows the picture now.
    virtual void showPreview(const PreviewPicture& picture) = 0;
    // Whether the alpha preview can be chosen; false also selects the standard preview.
    virtual void setAlphaPreviewAvailable(bool available) = 0;
    // A template load finished: show and redraw the preview.
    virtual void templateLoaded() = 0;
    // The status line names the next step of the repaint again (the main window's refresh,
    // which also enables Create once every step is done).
    virtual void refreshStatusLine() = 0;

    // The hourglass while a long operation blocks the thread.
    virtual void setBusy(bool busy) = 0;
    // A message box with an OK button, titled "Livrano"; the text is UTF-8.
    virtual void showMessage(const std::string& text) = 0;
    // Plays a sound file asynchronously; a missing file plays nothing.
    virtual void playSound(const std::filesystem::path& wavFile) = 0;
};

} // namespace livrano
