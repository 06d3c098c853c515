// SPDX-License-Identifier: MIT
#include "demo/demo_installation.h"

#include <algorithm>
#include <cctype>
#include <set>
#include <system_error>

#include "aircraft/cipher.h"
#include "aircraft/masked_name.h"
#include "aircraft/profile.h"
#include "app/code_page.h"
#include "app/file_bytes.h"
#include "app/text.h"
#include "demo/demo_kinds.h"
#include "demo/demo_model_files.h"
#include "demo/demo_painting.h"
#include "demo/demo_unconfigured.h"
#include "output/build_lock.h"
#include "output/configuration_text.h"
#include "texture/bmp_writer.h"

namespace livrano {

namespace fs = std::filesystem;

namespace {

// A livery already installed in the demo aircraft, as an aircraft.cfg entry and its files.
struct InstalledLivery {
    // The aircraft's own livery, on its own files: the clean copy of aircraft.cfg lists it, as a
    // real aircraft's does. The others are painters' liveries added since.
    bool factory;
    std::string variation;
    std::string id;            // the model value: "" for a livery on the aircraft's own model
    std::string textureFolder; // the entry's texture value (texture-folder aircraft)
    std::string tail;
    std::string airline;
    LiveryDesign design;
};

struct DemoPlan {
    AircraftSpec spec;
    ExtraTextureSpec extraTextures;
    ExtraFieldSpec extraFields;
    std::vector<LiveryPart> parts; // per texture
    LiveryDesign templateDesign;
    std::vector<InstalledLivery> liveries;
    std::string configFile;
    std::string templateName;
    std::string generalSections;  // [General] and [flight_tuning] of both aircraft.cfg files
    std::string installedBalance; // the installed file's [WEIGHT_AND_BALANCE], as the owner tuned it
    std::string dataBalance;      // the clean copy's
    std::vector<std::pair<std::string, LiveryPart>> extraTextureParts;
    int extraTextureSize = 256;
};

TextureSection section(std::int16_t tl, std::int16_t tt, std::int16_t tr, std::int16_t tb, std::int16_t dl,
                       std::int16_t dt, std::int16_t dr, std::int16_t db) {
    return TextureSection{tl, tt, tr, tb, dl, dt, dr, db};
}

TextureSpec texture(const char* base, const char* mask, const char* view, std::int16_t sx, std::int16_t sy,
                    std::vector<TextureSection> sections, std::vector<std::int32_t> offsets) {
    TextureSpec t;
    t.BaseTextureName = base;
    t.ReplaceMask = mask;
    t.ViewName = view;
    t.TextureSizeX = sx;
    t.TextureSizeY = sy;
    t.NumSectionsOnTexture = static_cast<std::int16_t>(sections.size());
    t.Sections = std::move(sections);
    for (std::size_t j = 0; j < t.Sections.size(); ++j)
        t.Sections[j].Number = static_cast<std::int16_t>(j);
    t.NumMdlOffsets = static_cast<std::int16_t>(offsets.size());
    t.MdlOffsets = std::move(offsets);
    return t;
}

void commonMain(AircraftSpec& s, const char* name, const char* dataPath, const char* prefix) {
    s.AircraftDisplayName = name;
    s.DataPath = dataPath;
    s.AircraftDirectory = name;
    s.Manufacturer = "Corvane Aeroworks";
    s.AircraftTitlePrefix = prefix;
    s.NumIdentifierCharacters = 3;
    s.TemplateSizeX = 2048;
    s.TemplateSizeY = 1024;
    s.UseAlpha = 1;
    s.DefaultHeavy = 0;
    s.ShowDamage = 1;
}

DemoPlan skylark() {
    DemoPlan p;
    AircraftSpec& s = p.spec;
    commonMain(s, "Corvane C-310 Skylark", "C310", "Corvane C-310 Skylark");
    s.AircraftType = "C-310 Skylark";
    s.AircraftTail = "N310SK";
    s.AircraftFlight = "310";
    s.CheckListFile = "C310_check";
    s.ReferenceFile = "C310_ref";
    s.Description = "A light twin for short fields, repainted with Livrano.";
    s.TextureAssignOnly = 1;
    s.BaseModelName = "C310_XXX";
    s.ReplaceMask = "C310_*";
    s.BaseAirName = "Corvane_C310";
    s.CopyRenameAirFile = 0;
    s.Textures = {
        texture("C310_FUSE", "", "Fuselage", 1024, 1024,
                {section(0, 0, 1024, 512, 0, 0, 1024, 512), section(1024, 0, 2048, 512, 0, 512, 1024, 1024)},
                {4097}),
        texture(
            "C310_WING", "", "Wings", 1024, 1024,
            {section(0, 512, 1024, 768, 0, 0, 1024, 512), section(0, 768, 1024, 1024, 0, 512, 1024, 1024)},
            {8193}),
        texture("C310_TAIL", "", "Tail", 512, 512, {section(1024, 512, 1536, 1024, 0, 0, 512, 512)}, {12289}),
        texture("C310_ENGINE", "", "Engines", 256, 256, {section(1536, 512, 2048, 1024, 0, 0, 256, 256)},
                {16385}),
    };
    s.NumTextures = static_cast<std::int16_t>(s.Textures.size());
    p.parts = {LiveryPart::Fuselage, LiveryPart::Wing, LiveryPart::Tail, LiveryPart::Nacelle};
    p.extraTextures.CopyExtraTextures = 1;
    p.extraTextures.BaseTextureFolder = "";
    p.extraTextures.ExtraTextureNames = {"C310_INTERIOR.bmp", "C310_PANEL.bmp", "C310_PROP.bmp"};
    p.extraTextures.NumExtraTextures = 3;
    p.extraTextureParts = {{"C310_INTERIOR.bmp", LiveryPart::Wing},
                           {"C310_PANEL.bmp", LiveryPart::Nacelle},
                           {"C310_PROP.bmp", LiveryPart::Nacelle}};
    p.extraFields.CopyExtraFields = 1;
    p.extraFields.NumFields = 1;
    p.extraFields.ExtraFieldNames = {"atc_parking_types"};
    p.extraFields.ExtraFieldDefaults = {"RAMP"};
    p.templateDesign = {{250, 250, 248}, {22, 58, 140}, {222, 170, 40}, "N310SK", "SKYLARK"};
    p.liveries = {
        {true,
         "Factory",
         "",
         "",
         "N310CV",
         "",
         {{238, 232, 214}, {40, 110, 60}, {190, 60, 40}, "N310CV", "CORVANE"}},
        {false,
         "Blue Harbour",
         "",
         "BlueHarbour",
         "N318BH",
         "BLUE HARBOUR",
         {{200, 224, 245}, {16, 40, 96}, {250, 250, 250}, "N318BH", "BLUE HARBOUR"}},
    };
    p.configFile = "Corvane_C310.bin";
    p.templateName = "Skylark Template.bmp";
    p.generalSections = "[General]\r\natc_type=CORVANE\r\natc_model=C310\r\neditable=1\r\n"
                        "performance=Cruise speed 190 kts\r\n\r\n"
                        "[flight_tuning]\r\ncruise_lift_scalar=1.0\r\nparasite_drag_scalar=1.0\r\n\r\n";
    p.installedBalance = "[WEIGHT_AND_BALANCE]\r\nmax_gross_weight=5500\r\nempty_weight=3712\r\n"
                         "reference_datum_position=0,0,0\r\nempty_weight_CG_position=-1.35,0,0\r\n"
                         "max_number_of_stations=4\r\nstation_load.0=190,3.5,-1.5,0\r\n"
                         "station_load.1=170,3.5,1.5,0\r\nstation_load.2=340,-0.5,0,0\r\n"
                         "station_load.3=120,-6.0,0,0\r\n\r\n";
    p.dataBalance = "[WEIGHT_AND_BALANCE]\r\nmax_gross_weight=5500\r\nempty_weight=3650\r\n"
                    "reference_datum_position=0,0,0\r\nempty_weight_CG_position=-1.2,0,0\r\n"
                    "max_number_of_stations=4\r\nstation_load.0=170,3.5,-1.5,0\r\n"
                    "station_load.1=170,3.5,1.5,0\r\nstation_load.2=340,-0.5,0,0\r\n"
                    "station_load.3=100,-6.0,0,0\r\n\r\n";
    return p;
}

DemoPlan meridian() {
    DemoPlan p;
    AircraftSpec& s = p.spec;
    commonMain(s, "Corvane CJ-70 Meridian", "CJ70", "Corvane CJ-70 Meridian");
    s.AircraftType = "CJ-70 Meridian";
    s.AircraftTail = "N70CM";
    s.AircraftFlight = "70";
    s.CheckListFile = "CJ70_check";
    s.ReferenceFile = "CJ70_ref";
    s.Description = "A regional jet for seventy passengers, repainted with Livrano.";
    s.TextureAssignOnly = 0;
    s.BaseModelName = "CJ70_XXX";
    s.ReplaceMask = "CJ70_*";
    s.BaseAirName = "CJ70_XXX";
    s.ReplaceAirMask = "CJ70_*";
    s.CopyRenameAirFile = 1;
    s.Textures = {
        texture("CJ70_XXX_FUSE", "CJ70_*", "Fuselage", 2048, 1024,
                {section(0, 0, 2048, 512, 0, 0, 2048, 1024)}, {4097, 20481}),
        texture("CJ70_XXX_WING", "CJ70_*", "Wings", 1024, 512, {section(0, 512, 1024, 1024, 0, 0, 1024, 512)},
                {8193}),
        texture("CJ70_XXX_TAIL", "CJ70_*", "Tail", 512, 512, {section(1024, 512, 1536, 1024, 0, 0, 512, 512)},
                {12289}),
        texture("CJ70_XXX_NACELLE", "CJ70_*", "Engines", 256, 256,
                {section(1536, 512, 2048, 1024, 0, 0, 256, 256)}, {16385}),
    };
    s.NumTextures = static_cast<std::int16_t>(s.Textures.size());
    p.parts = {LiveryPart::Fuselage, LiveryPart::Wing, LiveryPart::Tail, LiveryPart::Nacelle};
    p.templateDesign = {{252, 252, 252}, {176, 28, 36}, {60, 64, 72}, "N70CM", "MERIDIAN AIR"};
    p.liveries = {
        {true,
         "House Colours",
         "",
         "",
         "N70CV",
         "CORVANE",
         {{220, 222, 226}, {230, 120, 30}, {40, 40, 48}, "N70CV", "CORVANE"}},
        {false,
         "Northwind",
         "NWD",
         "",
         "N704NW",
         "NORTHWIND",
         {{250, 250, 250}, {0, 118, 128}, {20, 50, 90}, "N704NW", "NORTHWIND"}},
    };
    p.configFile = "Corvane_CJ70.bin";
    p.templateName = "Meridian Template.bmp";
    p.generalSections = "[General]\r\natc_type=CORVANE\r\natc_model=CJ70\r\neditable=1\r\n"
                        "performance=Cruise speed 440 kts\r\n\r\n"
                        "[flight_tuning]\r\ncruise_lift_scalar=1.0\r\nparasite_drag_scalar=1.0\r\n\r\n";
    p.installedBalance = "[WEIGHT_AND_BALANCE]\r\nmax_gross_weight=82000\r\nempty_weight=48120\r\n"
                         "reference_datum_position=0,0,0\r\nempty_weight_CG_position=-2.4,0,0\r\n"
                         "max_number_of_stations=3\r\nstation_load.0=380,30,0,0\r\n"
                         "station_load.1=6400,0,0,0\r\nstation_load.2=2200,-20,0,0\r\n\r\n";
    p.dataBalance = "[WEIGHT_AND_BALANCE]\r\nmax_gross_weight=82000\r\nempty_weight=47800\r\n"
                    "reference_datum_position=0,0,0\r\nempty_weight_CG_position=-2.0,0,0\r\n"
                    "max_number_of_stations=3\r\nstation_load.0=340,30,0,0\r\n"
                    "station_load.1=6000,0,0,0\r\nstation_load.2=2000,-20,0,0\r\n\r\n";
    return p;
}

// Every size of the aircraft `divisor` times smaller; the model offsets stay.
void shrink(DemoPlan& p, int divisor) {
    AircraftSpec& s = p.spec;
    s.TemplateSizeX = static_cast<std::int16_t>(s.TemplateSizeX / divisor);
    s.TemplateSizeY = static_cast<std::int16_t>(s.TemplateSizeY / divisor);
    for (TextureSpec& t : s.Textures) {
        t.TextureSizeX = static_cast<std::int16_t>(t.TextureSizeX / divisor);
        t.TextureSizeY = static_cast<std::int16_t>(t.TextureSizeY / divisor);
        for (TextureSection& c : t.Sections)
            for (std::int16_t* v : {&c.TemplateLeft, &c.TemplateTop, &c.TemplateRight, &c.TemplateBottom,
                                    &c.DestLeft, &c.DestTop, &c.DestRight, &c.DestBottom})
                *v = static_cast<std::int16_t>(*v / divisor);
    }
    p.extraTextureSize /= divisor;
}

// The plan of the design, changed as the kind asks.
Status planOfKind(const DemoAircraftKind& kind, DemoPlan& p) {
    const bool skylarkDesign = kind.design == DemoAircraftKind::Design::Skylark;
    if (skylarkDesign && (kind.textureAssignOnly == 0 || kind.copyRenameAirFile == 1))
        return Status::Refused("The Skylark names its textures and flight model without masks: it takes "
                               "neither a shared texture folder nor a flight-model copy.");
    if (kind.divisor < 1 || kind.divisor > 16 || (kind.divisor & (kind.divisor - 1)) != 0)
        return Status::Refused("A demo aircraft is made 1, 2, 4, 8 or 16 times smaller, not " +
                               std::to_string(kind.divisor) + ".");
    auto plain = [](const std::string& name) {
        return std::all_of(name.begin(), name.end(),
                           [](char c) { return std::isalnum(static_cast<unsigned char>(c)) != 0; });
    };
    if (!plain(kind.suffix) || !plain(kind.extraTextureFolder.value_or("")))
        return Status::Refused("A demo aircraft's suffix and extra texture folder are letters and digits.");
    p = skylarkDesign ? skylark() : meridian();
    AircraftSpec& s = p.spec;
    if (!kind.suffix.empty()) {
        for (std::string* name : {&s.AircraftDisplayName, &s.AircraftDirectory, &s.AircraftTitlePrefix})
            *name += " " + kind.suffix;
        s.DataPath += "_" + kind.suffix;
        p.configFile.insert(p.configFile.size() - 4, "_" + kind.suffix);
        p.templateName.insert(p.templateName.find(" Template"), " " + kind.suffix);
        p.liveries.resize(1);
    }
    if (kind.textureAssignOnly == 0 || kind.textureAssignOnly == 1)
        s.TextureAssignOnly = static_cast<std::int16_t>(kind.textureAssignOnly);
    if (kind.copyRenameAirFile == 0 || kind.copyRenameAirFile == 1)
        s.CopyRenameAirFile = static_cast<std::int16_t>(kind.copyRenameAirFile);
    if (kind.extraTextureFolder) {
        if (p.extraTextureParts.empty())
            p.extraTextureParts = {{"CJ70_CABIN.bmp", LiveryPart::Wing},
                                   {"CJ70_GEAR.bmp", LiveryPart::Nacelle}};
        ExtraTextureSpec& extra = p.extraTextures;
        extra.CopyExtraTextures = 1;
        extra.BaseTextureFolder = *kind.extraTextureFolder;
        extra.ExtraTextureNames.clear();
        for (const auto& [name, part] : p.extraTextureParts)
            extra.ExtraTextureNames.push_back(name);
        extra.NumExtraTextures = static_cast<std::int16_t>(extra.ExtraTextureNames.size());
    }
    shrink(p, kind.divisor);
    return Status::Ok();
}

const char* const kAirlines[] = {
    "AEROVANTA", "ALPINE STAR", "AMBERJET",        "BLUE HARBOUR", "BOREAL",   "CANDELA",
    "CORVANE",   "DUNEWIND",    "EMBERLINE",       "FJORDAIR",     "GALEWAY",  "GRANITE",
    "HALCYON",   "IBEX",        "JUNIPER",         "KESTREL",      "LANTERN",  "MARIGOLD",
    "MERIDIAN",  "NORTHWIND",   "OSPREY VALLEY",   "QUILLFEATHER", "REDSTONE", "SALTMARSH",
    "SKYLARK",   "TAMARACK",    "THISTLE",         "UPLAND",       "VESPER",   "WILLOWBANK",
    "YARROW",    "ZEPHYRUS",    "\"CAPE, COAST\"", "SILVER FERRY",
};

// Collects the first failure; later writes are skipped once one failed.
class DemoWriter {
public:
    void folder(const fs::path& path) {
        if (!m_status)
            return;
        std::error_code ec;
        fs::create_directories(path, ec);
        if (ec)
            m_status = Status::Error("Cannot create the folder \"" + utf8FromPath(path) +
                                     "\": " + ec.message() + ".");
    }
    void file(const fs::path& path, std::string_view bytes) {
        folder(path.parent_path());
        if (m_status)
            m_status = replaceFileBytes(path, bytes);
    }
    void file(const fs::path& path, const std::vector<std::uint8_t>& bytes) {
        file(path, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    }
    const Status& status() const { return m_status; }

private:
    Status m_status = Status::Ok();
};

std::string maskedOr(const std::string& base, const std::string& mask, int n, const std::string& id) {
    if (id.empty())
        return base;
    return MaskedName(base, mask, n, id).value_or(base);
}

// The model file, its textures named as the livery `id` names them.
std::string modelFile(const AircraftSpec& spec, const std::string& id) {
    std::vector<ModelTextureName> names;
    for (const TextureSpec& t : spec.Textures)
        names.push_back(
            {maskedOr(t.BaseTextureName, t.ReplaceMask, spec.NumIdentifierCharacters, id) + ".bmp",
             t.MdlOffsets});
    return demoModelFile(names);
}

// An installed livery's texture: the parts painted where the texture's sections put them.
LiveryPicture liveryTexture(const DemoPlan& plan, std::size_t index, const LiveryDesign& design,
                            int divisor) {
    const TextureSpec& t = plan.spec.Textures[index];
    LiveryPicture picture = blankPicture(t.TextureSizeX / divisor, t.TextureSizeY / divisor, design);
    for (const TextureSection& s : t.Sections)
        paintPart(picture, plan.parts[index],
                  {s.DestLeft / divisor, s.DestTop / divisor, s.DestRight / divisor, s.DestBottom / divisor},
                  design);
    return picture;
}

std::string entryText(std::size_t n, const DemoPlan& plan, const InstalledLivery& l) {
    const AircraftSpec& s = plan.spec;
    const std::string sim = s.CopyRenameAirFile == 1
                                ? maskedOr(s.BaseAirName, s.ReplaceAirMask, s.NumIdentifierCharacters, l.id)
                                : s.BaseAirName;
    std::string text = "[fltsim." + std::to_string(n) + "]\r\n";
    auto key = [&](const std::string& k, const std::string& v) { text += k + "=" + v + "\r\n"; };
    key("title", s.AircraftTitlePrefix + " " + l.variation);
    key("sim", sim);
    key("model", l.id);
    key("panel", "");
    key("sound", "");
    key("texture", l.textureFolder);
    key("kb_checklists", s.CheckListFile);
    key("kb_reference", s.ReferenceFile);
    key("atc_id", l.tail);
    key("atc_airline", l.airline);
    key("atc_flight_number", s.AircraftFlight);
    key("atc_heavy", "0");
    key("ui_manufacturer", s.Manufacturer);
    key("ui_type", s.AircraftType);
    key("ui_variation", l.variation);
    key("visual_damage", "1");
    key("description", s.Description);
    for (std::size_t k = 0; k < plan.extraFields.ExtraFieldNames.size(); ++k)
        key(plan.extraFields.ExtraFieldNames[k], plan.extraFields.ExtraFieldDefaults[k]);
    return text + "\r\n";
}

void writeAircraft(DemoWriter& w, const DemoPlan& plan, const fs::path& programFolder,
                   const fs::path& simRoot, DemoInstallation& made) {
    const AircraftSpec& spec = plan.spec;

    clsEncrypt cipher;
    std::string configuration = configurationText(spec, plan.extraTextures, plan.extraFields);
    cipher.EncryptByte(configuration, kProgramKey);
    w.file(programFolder / "Aircraft Configurations" / plan.configFile, configuration);

    const fs::path data = programFolder / ("Data." + spec.DataPath);
    std::string factory;
    for (std::size_t n = 0; n < plan.liveries.size(); ++n)
        if (plan.liveries[n].factory)
            factory += entryText(n, plan, plan.liveries[n]);
    w.file(data / "Aircraft.cfg", factory + "[version]\r\nmajor=1\r\nminor=0\r\n\r\n" + plan.generalSections +
                                      plan.dataBalance + "[livrano]\r\nmodel=\r\npanel=\r\n");
    w.file(data / (spec.BaseModelName + ".mdl"), modelFile(spec, ""));
    w.file(data / (spec.BaseAirName + ".air"), demoAirFile(spec.BaseAirName));

    LiveryPicture painted = blankPicture(spec.TemplateSizeX, spec.TemplateSizeY, plan.templateDesign);
    for (std::size_t i = 0; i < spec.Textures.size(); ++i)
        for (const TextureSection& s : spec.Textures[i].Sections)
            paintPart(painted, plan.parts[i],
                      {s.TemplateLeft, s.TemplateTop, s.TemplateRight, s.TemplateBottom},
                      plan.templateDesign);
    const fs::path templateFile = programFolder / "Templates" / plan.templateName;
    w.file(templateFile, encodeBmp24(painted.colour));
    std::string alphaName = plan.templateName;
    alphaName.replace(alphaName.size() - 4, 4, "_a.bmp");
    w.file(programFolder / "Templates" / alphaName, encodeBmp8(painted.alpha, painted.alpha.palette));

    const fs::path aircraft = simRoot / "Aircraft" / spec.AircraftDirectory;
    std::string cfg;
    for (std::size_t n = 0; n < plan.liveries.size(); ++n)
        cfg += entryText(n, plan, plan.liveries[n]);
    w.file(aircraft / "aircraft.cfg", cfg + plan.generalSections + plan.installedBalance);
    w.file(aircraft / "model" / "Model.cfg", "[models]\r\nnormal=" + spec.BaseModelName + "\r\n");
    w.file(aircraft / "model" / (spec.BaseModelName + ".mdl"), modelFile(spec, ""));
    w.file(aircraft / (spec.BaseAirName + ".air"), demoAirFile(spec.BaseAirName));
    for (const InstalledLivery& l : plan.liveries) {
        const fs::path textures =
            aircraft / (l.textureFolder.empty() ? "texture" : "texture." + l.textureFolder);
        for (std::size_t i = 0; i < spec.Textures.size(); ++i) {
            const TextureSpec& t = spec.Textures[i];
            const std::string name =
                spec.TextureAssignOnly == 0
                    ? maskedOr(t.BaseTextureName, t.ReplaceMask, spec.NumIdentifierCharacters, l.id)
                    : t.BaseTextureName;
            w.file(textures / (name + ".bmp"), encodeBmp24(liveryTexture(plan, i, l.design, 2).colour));
        }
        if (!l.id.empty()) {
            const std::string model =
                maskedOr(spec.BaseModelName, spec.ReplaceMask, spec.NumIdentifierCharacters, l.id);
            w.file(aircraft / ("Model." + l.id) / "Model.cfg", "[models]\r\nnormal=" + model + "\r\n");
            w.file(aircraft / ("Model." + l.id) / (model + ".mdl"), modelFile(spec, l.id));
            if (spec.CopyRenameAirFile == 1) {
                const std::string air =
                    maskedOr(spec.BaseAirName, spec.ReplaceAirMask, spec.NumIdentifierCharacters, l.id);
                w.file(aircraft / (air + ".air"), demoAirFile(air));
            }
        }
    }
    for (const auto& [name, part] : plan.extraTextureParts) {
        const int size = plan.extraTextureSize;
        LiveryPicture extra = blankPicture(size, size, plan.liveries.front().design);
        paintPart(extra, part, {0, 0, size, size}, plan.liveries.front().design);
        const std::string& base = plan.extraTextures.BaseTextureFolder;
        w.file(aircraft / (base.empty() ? "texture" : "texture." + base) / name, encodeBmp24(extra.colour));
    }
    made.aircraft.push_back({spec.AircraftDisplayName, templateFile, aircraft});
}

} // namespace

std::vector<DemoAircraftKind> demoAircraftKinds() {
    std::vector<DemoAircraftKind> kinds(2);
    kinds[1].design = DemoAircraftKind::Design::Meridian;
    return kinds;
}

Status CreateDemoInstallation(const fs::path& dir, DemoInstallation& made) {
    return CreateDemoInstallation(dir, made, demoAircraftKinds(), true);
}

Status CreateDemoInstallation(const fs::path& dir, DemoInstallation& made,
                              const std::vector<DemoAircraftKind>& kinds, bool withUnconfigured) {
    made = {};
    made.programFolder = dir / "Corvane Software" / "Livrano";
    std::vector<DemoPlan> plans;
    std::set<std::string> names;
    for (const DemoAircraftKind& kind : kinds) {
        plans.emplace_back();
        if (Status s = planOfKind(kind, plans.back()); !s)
            return s;
        if (!names.insert(toUpper(plans.back().spec.AircraftDisplayName)).second)
            return Status::Refused("Two demo aircraft would be named " +
                                   plans.back().spec.AircraftDisplayName + ".");
    }
    // Written over an installation in use, the demo would replace files under a running build.
    BuildLock lock;
    if (Status s = lock.acquireInstallation(made.programFolder, dir / "Aircraft"); !s)
        return s;
    DemoWriter w;
    w.folder(dir / "Aircraft");
    w.folder(made.programFolder / "TempBitmaps");
    std::string airlines;
    for (const char* airline : kAirlines)
        airlines += std::string(airline) + "\r\n";
    w.file(made.programFolder / "Data" / "airlines.cfg", airlines);
    for (const DemoPlan& plan : plans)
        writeAircraft(w, plan, made.programFolder, dir, made);
    if (withUnconfigured) {
        const fs::path aircraft = dir / "Aircraft" / kUnconfiguredFolder;
        for (const DemoShippedFile& f : unconfiguredAircraftFiles())
            w.file(aircraft / f.file, f.bytes);
        made.unconfigured.push_back({kUnconfiguredDisplayName, aircraft});
    }
    return w.status();
}

} // namespace livrano
