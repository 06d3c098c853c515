// SPDX-License-Identifier: MIT
#include "output/kit_plan.h"

#include <algorithm>
#include <cctype>
#include <system_error>

#include "aircraft/catalogue.h"
#include "aircraft/configuration_file.h"
#include "aircraft/profile.h"
#include "app/caseless_folder.h"
#include "app/code_page.h"
#include "app/file_names.h"
#include "app/text.h"
#include "texture/bmp_reader.h"

namespace livrano {

namespace fs = std::filesystem;

namespace {

std::string fileNameOf(const fs::path& path) {
    return windows1252FromPath(path.filename()).value_or(path.filename().string());
}

std::string manufacturerAndType(const KitSource& source) {
    const std::string both = trim(trim(source.livery.ui_manufacturer) + " " + trim(source.livery.ui_type));
    return both.empty() ? source.aircraftDirectory : both;
}

// What the factory titles begin with: the title less its variation ("Corvane CK-20 Kestrel
// Factory" less "Factory"), so that new liveries sit beside the factory's in the simulator's
// list; else the manufacturer and type.
std::string titlePrefix(const KitSource& source) {
    const std::string title = trim(source.livery.title);
    const std::string variation = trim(source.livery.ui_variation);
    if (!variation.empty() && title.size() > variation.size() + 1 &&
        equalsNoCase(title.substr(title.size() - variation.size() - 1), " " + variation))
        return trim(title.substr(0, title.size() - variation.size() - 1));
    return manufacturerAndType(source);
}

Status checkInsideSimulator(const KitRequest& request) {
    const fs::path aircraft = simulatorAircraftFolder(request.programFolder);
    std::error_code ec;
    if (!fs::is_directory(request.aircraftFolder, ec))
        return Status::Refused(request.aircraftFolder.string() + " is not a folder.");
    if (!fs::equivalent(request.aircraftFolder.parent_path(), aircraft, ec))
        return Status::Refused(request.aircraftFolder.string() + " is not an aircraft of the simulator " +
                                   request.programFolder.string() + " belongs to.",
                               "Its aircraft lie in " + aircraft.string() + ".");
    return Status::Ok();
}

Status chooseName(const KitRequest& request, const KitSource& source, std::string& name) {
    if (!request.name) {
        name = defaultKitName(source);
    } else if (Status s = windows1252FromUtf8("The kit's name", *request.name, name); !s) {
        return s;
    }
    name = trim(name);
    if (Status s = checkSafeFileName("The kit's name", name); !s)
        return s;
    if (name.size() > kSpecTextCapacity)
        return Status::Refused("The kit's name is longer than " + std::to_string(kSpecTextCapacity) +
                               " characters.");
    return Status::Ok();
}

// The configuration of this aircraft the kit made earlier, if any.
const InstalledConfiguration* earlierKit(const std::vector<InstalledConfiguration>& installed,
                                         const KitSource& source) {
    for (const InstalledConfiguration& c : installed)
        if (c.kit && equalsNoCase(trim(c.aircraftDirectory), source.aircraftDirectory))
            return &c;
    return nullptr;
}

Status checkNameFree(const std::vector<InstalledConfiguration>& installed, const std::string& name,
                     const InstalledConfiguration* replaced) {
    for (const InstalledConfiguration& c : installed) {
        if (&c == replaced)
            continue;
        if (equalsNoCase(trim(c.displayName), name) || equalsNoCase(fileNameOf(c.file), name + ".bin"))
            return Status::Refused("The name \"" + utf8FromWindows1252(name) +
                                       "\" is taken by the configuration " + c.file.string() + ".",
                                   "Choose another with --name.");
    }
    return Status::Ok();
}

// Letters and digits of the folder's name, at most kDataPathCapacity, unlike any Data.* folder or
// configuration's DataPath in any case: a number at the end tells two apart.
std::string uniqueDataPath(const fs::path& programFolder,
                           const std::vector<InstalledConfiguration>& installed,
                           const std::string& folderName) {
    std::string base;
    for (char c : folderName)
        if (std::isalnum(static_cast<unsigned char>(c)))
            base += c;
    if (base.empty())
        base = "Kit";
    const CaselessFolder folder(programFolder);
    auto taken = [&](const std::string& candidate) {
        std::error_code ec;
        if (fs::exists(folder.find("Data." + candidate), ec))
            return true;
        return std::any_of(installed.begin(), installed.end(), [&](const InstalledConfiguration& c) {
            return equalsNoCase(trim(c.dataPath), candidate);
        });
    };
    std::string candidate = base.substr(0, kDataPathCapacity);
    for (int n = 2; taken(candidate); ++n) {
        const std::string number = std::to_string(n);
        candidate = base.substr(0, kDataPathCapacity - number.size()) + number;
    }
    return candidate;
}

Status checkTemplateLimits(const KitPlan& plan) {
    const BmpLimits limits;
    const std::int64_t pixels = std::int64_t(plan.layout.width) * plan.layout.height;
    if (plan.layout.width <= limits.maxSide && plan.layout.height <= limits.maxSide &&
        pixels <= limits.maxPixels)
        return Status::Ok();
    std::vector<const KitTexture*> largest;
    for (const KitTexture& t : plan.source.textures)
        largest.push_back(&t);
    std::stable_sort(largest.begin(), largest.end(), [](const KitTexture* a, const KitTexture* b) {
        return std::int64_t(a->decoded.width) * a->decoded.height >
               std::int64_t(b->decoded.width) * b->decoded.height;
    });
    std::string list;
    for (std::size_t i = 0; i < largest.size() && i < 8; ++i)
        list += "\n  --exclude \"" + utf8FromWindows1252(largest[i]->fileName) + "\"  (" +
                std::to_string(largest[i]->decoded.width) + "x" + std::to_string(largest[i]->decoded.height) +
                ")";
    return Status::Refused(
        "The template would be " + std::to_string(plan.layout.width) + "x" +
            std::to_string(plan.layout.height) + " pixels, more than a template may have (" +
            std::to_string(limits.maxSide) + " a side, 64 Mi pixels in all).",
        "Leave textures out of it, the largest first; they are then copied unchanged:" + list);
}

// "<NAME> Template (kept N).bmp" for the lowest N that names nothing yet.
fs::path keptName(const fs::path& templates, const std::string& name, const std::string& suffix) {
    std::error_code ec;
    for (int n = 1;; ++n) {
        const fs::path candidate = resolveCaseless(
            templates / pathFromWindows1252(name + " Template (kept " + std::to_string(n) + ")" + suffix));
        if (!fs::exists(candidate, ec))
            return candidate;
    }
}

void placeTemplates(const fs::path& programFolder, const std::string& name, bool alpha, KitPlan& plan) {
    const fs::path templates = resolveCaseless(programLocation(programFolder, "\\Templates"));
    plan.templateFile = resolveCaseless(templates / pathFromWindows1252(name + " Template.bmp"));
    plan.alphaFile =
        alpha ? resolveCaseless(templates / pathFromWindows1252(name + " Template_a.bmp")) : fs::path();
    plan.guideFile = resolveCaseless(templates / pathFromWindows1252(name + " Guide.png"));
    // A template and its alpha companion are kept aside together, under one number.
    std::error_code ec;
    const bool colourTaken = fs::exists(plan.templateFile, ec);
    const fs::path alphaNow = resolveCaseless(templates / pathFromWindows1252(name + " Template_a.bmp"));
    const bool alphaTaken = fs::exists(alphaNow, ec);
    if (!colourTaken && !alphaTaken)
        return;
    const fs::path kept = keptName(templates, name, ".bmp");
    if (colourTaken)
        plan.keptAside.emplace_back(plan.templateFile, kept);
    if (alphaTaken) {
        std::string keptAlpha = fileNameOf(kept);
        keptAlpha.replace(keptAlpha.size() - 4, 4, "_a.bmp");
        plan.keptAside.emplace_back(alphaNow, kept.parent_path() / pathFromWindows1252(keptAlpha));
    }
}

void describeAircraft(const std::string& name, KitPlan& plan) {
    const FltsimEntry& e = plan.source.livery;
    AircraftSpec& s = plan.spec;
    s.AircraftDisplayName = name;
    s.DataPath = plan.dataPath;
    s.AircraftDirectory = plan.source.aircraftDirectory;
    s.Manufacturer = cutTo(trim(e.ui_manufacturer), kSpecTextCapacity);
    s.AircraftType = cutTo(trim(e.ui_type), kSpecTextCapacity);
    s.AircraftTail = cutTo(trim(e.atc_id), kSpecTextCapacity);
    s.AircraftFlight = cutTo(trim(e.atc_flight_number), kSpecTextCapacity);
    s.AircraftTitlePrefix = cutTo(titlePrefix(plan.source), kSpecTextCapacity);
    s.CheckListFile = cutTo(trim(e.kb_checklists), kSpecTextCapacity);
    s.ReferenceFile = cutTo(trim(e.kb_reference), kSpecTextCapacity);
    s.Description = cutTo(trim(e.description), kDescriptionCapacity);
    s.NumTextures = static_cast<std::int16_t>(plan.source.textures.size());
    s.TemplateSizeX = static_cast<std::int16_t>(plan.layout.width);
    s.TemplateSizeY = static_cast<std::int16_t>(plan.layout.height);
    s.BaseAirName = cutTo(trim(e.sim), kSpecTextCapacity);
    s.TextureAssignOnly = 1;
    s.ModelFolder = cutTo(trim(e.model), kSpecTextCapacity);
    for (std::size_t i = 0; i < plan.source.textures.size(); ++i) {
        const KitTexture& k = plan.source.textures[i];
        const PackedTexture& p = plan.layout.places[i];
        s.UseAlpha = static_cast<std::int16_t>(s.UseAlpha | (k.hasAlpha ? 1 : 0));
        TextureSpec& t = s.Textures.emplace_back();
        t.BaseTextureName = k.stem;
        t.ViewName = k.stem;
        t.TextureSizeX = static_cast<std::int16_t>(p.width);
        t.TextureSizeY = static_cast<std::int16_t>(p.height);
        t.NumSectionsOnTexture = 1;
        t.Sections.push_back({static_cast<std::int16_t>(p.x), static_cast<std::int16_t>(p.y),
                              static_cast<std::int16_t>(p.x + p.width),
                              static_cast<std::int16_t>(p.y + p.height), 0, 0, t.TextureSizeX, t.TextureSizeY,
                              0});
        t.DdsFile = k.dds ? 1 : 0;
    }
    ExtraTextureSpec& x = plan.extraTextures;
    x.CopyExtraTextures = plan.source.extras.empty() ? 0 : 1;
    x.BaseTextureFolder = trim(e.texture);
    x.NumExtraTextures = static_cast<std::int16_t>(plan.source.extras.size());
    x.ExtraTextureNames = plan.source.extras;
}

Status checkTextureNames(const KitSource& source) {
    // A name Windows refuses (possible on a Linux disk) could never be built into a livery.
    for (const KitTexture& t : source.textures)
        if (Status s = checkSafeFileName("The texture name", t.fileName); !s)
            return s;
    for (const std::string& e : source.extras)
        if (Status s = checkSafeFileName("The file name", e); !s)
            return s;
    for (const KitTexture& t : source.textures)
        if (t.stem.size() > kSpecTextCapacity || t.fileName.size() > kSpecTextCapacity)
            return Status::Refused("The texture name " + utf8FromWindows1252(t.fileName) +
                                   " is longer than " + std::to_string(kSpecTextCapacity) +
                                   " characters, more than a configuration holds.");
    for (const std::string& e : source.extras)
        if (e.size() > kIniStringChars)
            return Status::Refused("The file name " + utf8FromWindows1252(e) +
                                   " is longer than a configuration holds.");
    return Status::Ok();
}

} // namespace

std::vector<InstalledConfiguration> installedConfigurations(const fs::path& programFolder) {
    std::vector<InstalledConfiguration> installed;
    for (const fs::path& file : configurationFiles(programFolder)) {
        const ProfileDocument profile(decipherConfiguration(file).value_or(std::string()));
        installed.push_back({file, trim(profile.readString("Main", "AircraftDisplayName")),
                             trim(profile.readString("Main", "AircraftDirectory")),
                             trim(profile.readString("Main", "DataPath")),
                             profile.readInt("Main", kKitMarkKey) == 1});
    }
    return installed;
}

fs::path simulatorAircraftFolder(const fs::path& programFolder) {
    std::error_code ec;
    return fs::weakly_canonical(
        fs::absolute(resolveCaseless(programLocation(programFolder, "\\..\\..\\Aircraft")), ec), ec);
}

std::string defaultKitName(const KitSource& source) {
    std::string name = manufacturerAndType(source);
    for (char& c : name)
        if (static_cast<unsigned char>(c) < 32 ||
            std::string_view("<>:\"/\\|?*").find(c) != std::string_view::npos)
            c = '-';
    name = trim(cutTo(name, kSpecTextCapacity));
    while (!name.empty() && (name.back() == '.' || name.back() == ' '))
        name.pop_back();
    return name.empty() ? std::string("Aircraft") : name;
}

Status planKit(const KitRequest& asked, const std::vector<InstalledConfiguration>& installed, KitPlan& plan) {
    plan = {};
    // "sim/Aircraft/Gull/" names the folder "Gull" too.
    KitRequest request = asked;
    request.aircraftFolder = fs::absolute(asked.aircraftFolder).lexically_normal();
    if (request.aircraftFolder.filename().empty())
        request.aircraftFolder = request.aircraftFolder.parent_path();
    if (Status s = checkInsideSimulator(request); !s)
        return s;
    if (Status s = readKitSource(request.aircraftFolder, request.choices, plan.source); !s)
        return s;
    if (Status s = checkTextureNames(plan.source); !s)
        return s;
    std::string name;
    if (Status s = chooseName(request, plan.source, name); !s)
        return s;
    const InstalledConfiguration* earlier = earlierKit(installed, plan.source);
    if (earlier && !request.force)
        return Status::Refused(request.aircraftFolder.string() +
                                   " already has a kit: " + earlier->file.string() + " (\"" +
                                   utf8FromWindows1252(earlier->displayName) + "\").",
                               "--force replaces it; your liveries and changed templates are kept.");
    const InstalledConfiguration* replaced = request.force ? earlier : nullptr;
    // Two aircraft of one make and type: the folder's name tells the second apart.
    if (!request.name && !checkNameFree(installed, name, replaced).ok())
        name = defaultKitName(plan.source) + " (" + plan.source.aircraftDirectory + ")";
    if (Status s = checkNameFree(installed, name, replaced); !s)
        return s;
    if (!replaced && installed.size() >= kCatalogueSlots)
        return Status::Refused("The catalogue already holds " + std::to_string(installed.size()) +
                               " configurations; the program lists at most " +
                               std::to_string(kCatalogueSlots) + ".");

    std::vector<std::pair<int, int>> sizes;
    for (const KitTexture& t : plan.source.textures)
        sizes.emplace_back(t.decoded.width, t.decoded.height);
    plan.layout = packTemplate(sizes, kKitGutter);
    if (Status s = checkTemplateLimits(plan); !s)
        return s;

    plan.displayName = name;
    plan.dataPath = replaced
                        ? trim(replaced->dataPath)
                        : uniqueDataPath(request.programFolder, installed, plan.source.aircraftDirectory);
    plan.dataFolder = CaselessFolder(request.programFolder).find("Data." + plan.dataPath);
    const fs::path configurations =
        resolveCaseless(programLocation(request.programFolder, "\\Aircraft Configurations"));
    plan.configFile = resolveCaseless(configurations / pathFromWindows1252(name + ".bin"));
    std::error_code ec;
    if (replaced && !fs::equivalent(replaced->file, plan.configFile, ec))
        plan.replacedConfig = replaced->file;
    const bool alpha = std::any_of(plan.source.textures.begin(), plan.source.textures.end(),
                                   [](const KitTexture& t) { return t.hasAlpha; });
    placeTemplates(request.programFolder, name, alpha, plan);
    describeAircraft(name, plan);
    return Status::Ok();
}

} // namespace livrano
