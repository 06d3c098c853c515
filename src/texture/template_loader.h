// SPDX-License-Identifier: MIT
#pragma once
// Loading the painted template and its alpha companion into the template surfaces.

#include <string>
#include <string_view>

#include "aircraft/aircraft_spec.h"
#include "app/frontend.h"
#include "app/status.h"
#include "texture/bitmap_surfaces.h"

namespace livrano {

// The message shown when the aircraft uses an alpha companion and none is found.
inline constexpr const char* kNoAlphaCompanionMessage =
    "No Alpha Channel bitmap was found.  This aircraft will still compile, but will not show reflections.\n\n"
    "If you need further assistance, please consult the documentation.";

// The companion of a template: the path trimmed, less its last 4 characters, + "_a.bmp"
// (so "x.jpeg" gives "x._a.bmp"; a path of fewer than 4 characters loses all of them).
std::string alphaCompanionPath(std::string_view templatePath);

// Loads the template and, when the aircraft's UseAlpha is 1, its companion, into `surfaces`;
// sets AlphaLoaded,
// reports through the frontend ("Loading Texture Template File"; for a missing or unreadable
// companion "No Alpha Channel Bitmap Found", the alpha preview made unavailable and
// kNoAlphaCompanionMessage; a message for a template or companion whose size is not the
// aircraft's TemplateSizeX x TemplateSizeY) and ends with templateLoaded(), the pointer back to
// normal and refreshStatusLine(). The result is an error when the template itself could not be
// loaded (no message is shown for it: the window stays silent, the CLI prints it); a missing,
// unreadable or wrongly sized companion is not one.
Status LoadTemplate(const AircraftSpec& spec, BitmapSurfaces& surfaces, Frontend& frontend,
                    const std::string& templatePath);

// Releases both template surfaces, loads the colour template and then, only when it loaded and
// UseAlpha is 1, the alpha companion ("IGNORE" for none). True when the colour template loaded;
// otherwise `fault`, when given, says why it did not.
bool LoadTemplateBitmaps(const AircraftSpec& spec, BitmapSurfaces& surfaces, const std::string& colourPath,
                         const std::string& alphaPath, std::string* fault = nullptr);

} // namespace livrano
