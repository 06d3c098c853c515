// SPDX-License-Identifier: MIT
#include "cli/aircraft_spec_report.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>

#include "aircraft/masked_name.h"
#include "app/code_page.h"
#include "app/text.h"
#include "cli/terminal_text.h"

namespace livrano::cli {

namespace {

constexpr std::size_t kLabelWidth = 21;

std::string padded(const std::string& text, std::size_t width) {
    return text.size() >= width ? text : text + std::string(width - text.size(), ' ');
}

std::string orDash(const std::string& text) {
    return text.empty() ? "-" : text;
}

std::string fileName(const std::string& base, const char* extension) {
    return base.empty() ? "-" : base + extension;
}

std::string rect(int left, int top, int right, int bottom) {
    return "(" + std::to_string(left) + "," + std::to_string(top) + ")-(" + std::to_string(right) + "," +
           std::to_string(bottom) + ")";
}

std::string size(int width, int height) {
    return std::to_string(width) + "x" + std::to_string(height);
}

// How many texture pixels one template pixel becomes along one axis; "-" when the template
// span is empty. A section whose spans differ in sign is copied mirrored along that axis.
std::string factor(int destSpan, int templateSpan) {
    if (templateSpan == 0)
        return "-";
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.2f", std::abs(static_cast<double>(destSpan) / templateSpan));
    return buf;
}

bool mirrored(int destSpan, int templateSpan) {
    return (destSpan < 0) != (templateSpan < 0);
}

struct SectionColumns {
    std::array<std::string, 4> text; // template rectangle, its size, texture rectangle, its size
    std::string scale;
};

SectionColumns sectionColumns(const TextureSection& c) {
    const int tw = c.TemplateRight - c.TemplateLeft;
    const int th = c.TemplateBottom - c.TemplateTop;
    const int dw = c.DestRight - c.DestLeft;
    const int dh = c.DestBottom - c.DestTop;
    SectionColumns out;
    out.text = {rect(c.TemplateLeft, c.TemplateTop, c.TemplateRight, c.TemplateBottom),
                size(std::abs(tw), std::abs(th)), rect(c.DestLeft, c.DestTop, c.DestRight, c.DestBottom),
                size(std::abs(dw), std::abs(dh))};
    out.scale = factor(dw, tw) + " x " + factor(dh, th);
    if (mirrored(dw, tw))
        out.scale += ", mirrored left to right";
    if (mirrored(dh, th))
        out.scale += ", flipped upside down";
    return out;
}

// An example of a derived file name, with "ABC..." standing for the variation's identifier.
std::string exampleName(const std::string& base, const std::string& mask, int n, const char* extension) {
    std::string identifier;
    for (int i = 0; i < n; ++i)
        identifier.push_back(static_cast<char>('A' + i % 26));
    const std::optional<std::string> name = MaskedName(base, mask, n, identifier);
    return name ? "e.g. " + *name + extension : "(no name can be formed)";
}

class Writer {
public:
    explicit Writer(bool colour) : m_colour(colour) {}

    // The configuration's names are Windows-1252; the terminal reads UTF-8, and takes their
    // control characters as commands. Padding is counted before, where one byte is one character.
    static std::string shown(const std::string& windows1252) {
        return terminalText(utf8FromWindows1252(windows1252));
    }
    // `text` shown, in a colour when colours are on.
    std::string styled(const std::string& text, const char* code) const {
        return m_colour ? std::string("\033[") + code + "m" + shown(text) + "\033[0m" : shown(text);
    }
    void line(const std::string& text = {}) { shownLine(shown(text)); }
    // A line already shown: no name in it is raw.
    void shownLine(const std::string& text) { m_out += text + "\n"; }
    void heading(const std::string& text) {
        line();
        shownLine(styled(text, "1"));
    }
    void row(const std::string& label, const std::string& value) {
        line("  " + padded(label, kLabelWidth) + value);
    }
    std::string take() { return std::move(m_out); }

private:
    bool m_colour;
    std::string m_out;
};

void aircraftBlock(Writer& w, const AircraftSpec& s) {
    w.heading("Aircraft");
    w.row("Display name", orDash(s.AircraftDisplayName));
    w.row("Manufacturer", orDash(s.Manufacturer));
    w.row("Type", orDash(s.AircraftType));
    w.row("Default tail number", orDash(s.AircraftTail));
    w.row("Flight number", orDash(s.AircraftFlight));
    w.row("Title prefix", orDash(s.AircraftTitlePrefix));
    w.row("Description", orDash(s.Description));
    w.row("Checklist file", orDash(s.CheckListFile));
    w.row("Reference file", orDash(s.ReferenceFile));
    w.row("Aircraft folder", "..\\..\\Aircraft\\" + s.AircraftDirectory);
    w.row("Data folder", "Data." + s.DataPath);
    w.row("Model folder", orDash(s.ModelFolder));
    w.row("Template", size(s.TemplateSizeX, s.TemplateSizeY) +
                          (s.UseAlpha == 1 ? ", with an alpha companion (_a.bmp)" : ", no alpha companion"));
    w.row("Identifier", std::to_string(s.NumIdentifierCharacters) + " characters");
    std::string assignment = std::to_string(s.TextureAssignOnly);
    if (s.TextureAssignOnly == 0)
        assignment += ": a model per variation, textures renamed into the shared Texture folder";
    else if (s.TextureAssignOnly == 1)
        assignment += ": textures keep their names, in the variation's own Texture folder";
    w.row("Texture assignment", assignment);
    w.row("Other flags", "AssignAirline " + std::to_string(s.AssignAirline) + ", DefaultHeavy " +
                             std::to_string(s.DefaultHeavy) + ", ShowDamage " + std::to_string(s.ShowDamage));
}

void modelBlock(Writer& w, const AircraftSpec& s) {
    w.heading("Model and flight model");
    std::string model = fileName(s.BaseModelName, ".mdl") + "  mask " + orDash(s.ReplaceMask);
    model += s.TextureAssignOnly == 0
                 ? "  " + exampleName(s.BaseModelName, s.ReplaceMask, s.NumIdentifierCharacters, ".mdl")
                 : "  (not copied: textures are assigned only)";
    w.row("Model", model);
    std::string air = fileName(s.BaseAirName, ".air") + "  mask " + orDash(s.ReplaceAirMask);
    air += s.CopyRenameAirFile == 1
               ? "  copied and renamed, " +
                     exampleName(s.BaseAirName, s.ReplaceAirMask, s.NumIdentifierCharacters, ".air")
               : "  (not copied)";
    w.row("Flight model", air);
}

void texturesBlock(Writer& w, const AircraftSpec& s) {
    w.heading("Textures (" + std::to_string(s.Textures.size()) + ")");
    if (s.Textures.empty())
        return;
    const std::string& format = s.Textures.front().TextureFormat;
    w.row(
        "Format",
        format == kFormatDxt3
            ? format + ", DXT3 compressed (chosen with --dxt3)"
            : format +
                  ", 32-bit with alpha (--dxt3 shows DXT3NM, as with \"Create Plane in DXT3 Format\" ticked)");

    // Column widths over every section, so the rectangles line up from texture to texture.
    std::vector<std::vector<SectionColumns>> columns;
    std::array<std::size_t, 4> widths{};
    for (const TextureSpec& t : s.Textures) {
        columns.emplace_back();
        for (const TextureSection& c : t.Sections) {
            columns.back().push_back(sectionColumns(c));
            for (std::size_t k = 0; k < widths.size(); ++k)
                widths[k] = std::max(widths[k], columns.back().back().text[k].size());
        }
    }

    for (std::size_t i = 0; i < s.Textures.size(); ++i) {
        const TextureSpec& t = s.Textures[i];
        std::string head = orDash(t.BaseTextureName) + "  " + size(t.TextureSizeX, t.TextureSizeY) +
                           "  mask " + orDash(t.ReplaceMask);
        if (s.TextureAssignOnly == 0)
            head += "  " + exampleName(t.BaseTextureName, t.ReplaceMask, s.NumIdentifierCharacters,
                                       textureFileExtension(t));
        w.line();
        w.shownLine("  " + w.styled("[" + twoDigits(static_cast<int>(i)) + "] " + orDash(t.ViewName), "1"));
        w.row("  texture", head);
        for (std::size_t j = 0; j < t.Sections.size(); ++j) {
            const SectionColumns& c = columns[i][j];
            w.row("  section " + twoDigits(t.Sections[j].Number),
                  "template " + padded(c.text[0], widths[0]) + " " + padded(c.text[1], widths[1]) +
                      " -> texture " + padded(c.text[2], widths[2]) + " " + padded(c.text[3], widths[3]) +
                      "  scale " + c.scale);
        }
        std::string offsets;
        for (std::int32_t o : t.MdlOffsets)
            offsets += (offsets.empty() ? "" : ", ") + std::to_string(o);
        w.row("  model offsets", orDash(offsets));
    }
}

void extrasBlock(Writer& w, const AircraftSpec& s, const ExtraTextureSpec& et, const ExtraFieldSpec& ef) {
    w.heading("Extra textures");
    if (et.CopyExtraTextures == 1) {
        w.row("Copied from", et.BaseTextureFolder.empty() ? "Texture" : "Texture." + et.BaseTextureFolder);
        for (const std::string& name : et.ExtraTextureNames)
            w.row("", orDash(name));
        // The variation's textures go to the shared folder, its extra textures still to a folder
        // of its own: a painter finds two folders.
        w.row("Copied to",
              s.TextureAssignOnly == 0
                  ? "Texture.EXT, made for them beside the shared Texture folder (TextureAssignOnly 0)"
                  : "Texture.EXT, the variation's texture folder");
    } else {
        w.row("Not copied", "CopyExtraTextures " + std::to_string(et.CopyExtraTextures));
    }

    w.heading("Extra fields");
    if (ef.CopyExtraFields == 1) {
        std::size_t width = 0;
        for (const std::string& name : ef.ExtraFieldNames)
            width = std::max(width, name.size());
        for (std::size_t i = 0; i < ef.ExtraFieldNames.size(); ++i)
            w.line("  " + padded(orDash(ef.ExtraFieldNames[i]), width) + " = " + ef.ExtraFieldDefaults[i]);
    } else {
        w.row("Not written", "CopyExtraFields " + std::to_string(ef.CopyExtraFields));
    }
}

void problemsBlock(Writer& w, const std::vector<SpecProblem>& problems) {
    w.line();
    if (problems.empty()) {
        w.shownLine(w.styled("No problems found.", "1;32"));
        return;
    }
    w.shownLine(w.styled("Problems (" + std::to_string(problems.size()) + ")", "1;31"));
    std::vector<std::string> places;
    std::size_t width = 0;
    for (const SpecProblem& p : problems) {
        places.push_back("[" + p.section + "]" + (p.key.empty() ? "" : " " + p.key));
        width = std::max(width, places.back().size());
    }
    for (std::size_t i = 0; i < problems.size(); ++i)
        w.shownLine("  " + w.styled(padded(places[i], width), "33") + "  " +
                    terminalText(problems[i].message));
}

} // namespace

std::string formatSpecReport(const SpecReportInput& input, bool colour) {
    Writer w(colour);
    w.shownLine(w.styled(orDash(input.spec.AircraftDisplayName), "1"));
    w.shownLine(terminalText(input.source));
    aircraftBlock(w, input.spec);
    modelBlock(w, input.spec);
    texturesBlock(w, input.spec);
    extrasBlock(w, input.spec, input.extraTextures, input.extraFields);
    problemsBlock(w, input.problems);
    return w.take();
}

} // namespace livrano::cli
