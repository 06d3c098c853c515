#include "aircraft/aircraft_spec_checks.h"

#include <gtest/gtest.h>

#include "support/sample_configuration.h"

namespace livrano {
namespace {

using testing::kSkylarkConfiguration;
using testing::replaced;
using Places = std::vector<std::pair<std::string, std::string>>;

std::vector<SpecProblem> check(const std::string& text) {
    const ProfileDocument profile(text);
    AircraftSpec spec;
    ExtraTextureSpec extraTextures;
    ExtraFieldSpec extraFields;
    std::vector<SpecValueNote> notes;
    readAircraftSpec(profile, false, spec, extraTextures, extraFields, &notes);
    return checkAircraftSpec(profile, spec, extraTextures, extraFields, notes);
}

Places places(const std::vector<SpecProblem>& problems) {
    Places out;
    for (const SpecProblem& p : problems)
        out.emplace_back(p.section, p.key);
    return out;
}

TEST(CheckAircraftSpec, FindsEachFaultWhereItIs) {
    struct Case {
        std::vector<std::pair<const char*, const char*>> edits;
        Places expected;
    };
    const Case cases[] = {
        {{}, {}}, // the sample itself is clean
        // Texture sizes, and the sections that then no longer fit.
        {{{"TextureSizeX=512", "TextureSizeX=510"}},
         {{"Texture.02", "TextureSizeX"}, {"Texture.02", "Section.00"}}},
        {{{"TextureSizeX=1024", "TextureSizeX=40000"}}, {{"Texture.00", "TextureSizeX"}}},
        {{{"Section.00.DestRight=1024", "Section.00.DestRight=0"}}, {{"Texture.00", "Section.00"}}},
        {{{"Section.00.TemplateRight=2048", "Section.00.TemplateRight=2049"}},
         {{"Texture.01", "Section.00"}}},
        // A reversed side covers from its first pixel back to one past its second.
        {{{"Section.00.TemplateTop=1023", "Section.00.TemplateTop=1024"}}, {{"Texture.02", "Section.00"}}},
        {{{"Section.00.TemplateBottom=767", "Section.00.TemplateBottom=-1"}}, {}},
        {{{"Section.00.TemplateLeft=0\r\nSection.00.TemplateTop=512",
           "Section.00.TemplateLeft=-1\r\nSection.00.TemplateTop=512"}},
         {{"Texture.01", "Section.00"}}},
        {{{"Section.00.DestBottom=512\r\nNumMdlOffsets=1", "Section.00.DestBottom=513\r\nNumMdlOffsets=1"}},
         {{"Texture.01", "Section.00"}}},
        // Masks and base names, where names are derived.
        {{{"ReplaceMask=C310_WING_*", "ReplaceMask=C310_WING_"}}, {{"Texture.01", "ReplaceMask"}}},
        {{{"BaseTextureName=C310_WING_XXX", "BaseTextureName=C310_WING_X"}},
         {{"Texture.01", "BaseTextureName"}}},
        {{{"NumIdentifierCharacters=3", "NumIdentifierCharacters=5"}},
         {{"Model", "BaseModelName"},
          {"Air", "BaseAirName"},
          {"Texture.00", "BaseTextureName"},
          {"Texture.01", "BaseTextureName"},
          {"Texture.02", "BaseTextureName"}}},
        {{{"TextureAssignOnly=0", "TextureAssignOnly=1"}, {"ReplaceMask=C310_WING_*", "ReplaceMask="}}, {}},
        // No identifier character: every derived name would be the aircraft's own.
        {{{"NumIdentifierCharacters=3", "NumIdentifierCharacters=0"}}, {{"Main", "NumIdentifierCharacters"}}},
        {{{"NumIdentifierCharacters=3", "NumIdentifierCharacters=-2"},
          {"TextureAssignOnly=0", "TextureAssignOnly=1"}},
         {{"Main", "NumIdentifierCharacters"}}},
        {{{"NumIdentifierCharacters=3", "NumIdentifierCharacters=0"},
          {"TextureAssignOnly=0", "TextureAssignOnly=1"},
          {"CopyRenameAirFile=1", "CopyRenameAirFile=0"}},
         {}},
        {{{"CopyRenameAirFile=1", "CopyRenameAirFile=0"}, {"ReplaceAirMask=C310_*", "ReplaceAirMask=C310"}},
         {}},
        {{{"TextureAssignOnly=0", "TextureAssignOnly=2"}}, {{"Main", "TextureAssignOnly"}}},
        // Counts whose keys are missing.
        {{{"NumTextures=3", "NumTextures=4"}}, {{"Texture.03", ""}}},
        // A section that is there but lacks its main keys is not a missing section.
        {{{"BaseTextureName=C310_TAIL_XXX\r\n", ""},
          {"ViewName=Tail\r\n", ""},
          {"TextureSizeX=512\r\n", ""},
          {"NumSectionsOnTexture=1\r\nSection.00.TemplateLeft=0\r\nSection.00.TemplateTop=1023",
           "Section.00.TemplateLeft=0\r\nSection.00.TemplateTop=1023"}},
         {{"Texture.02", "BaseTextureName"},
          {"Texture.02", "BaseTextureName"},
          {"Texture.02", "TextureSizeX"},
          {"Texture.02", "NumSectionsOnTexture"}}},
        {{{"NumSectionsOnTexture=2", "NumSectionsOnTexture=3"}}, {{"Texture.00", "Section.02"}}},
        {{{"Section.01.DestBottom=1024\r\n", ""}}, {{"Texture.00", "Section.01"}}},
        {{{"NumMdlOffsets=2", "NumMdlOffsets=3"}}, {{"Texture.00", "Offset.02"}}},
        {{{"Offset.00=18432", "Offset.00=0"}}, {{"Texture.00", "Offset.00"}}},
        // Offsets are read only where the model is patched.
        {{{"TextureAssignOnly=0", "TextureAssignOnly=1"},
          {"Offset.00=18432", "Offset.00=0"},
          {"NumMdlOffsets=1\r\nOffset.00=22528", "NumMdlOffsets=2\r\nOffset.00=22528"},
          {"NumMdlOffsets=1\r\nOffset.00=70000", "NumMdlOffsets=0\r\nOffset.00=70000"}},
         {}},
        // Entries past their count, which nothing reads.
        {{{"NumTextures=3", "NumTextures=2"}}, {{"Texture.02", ""}}},
        {{{"NumSectionsOnTexture=2", "NumSectionsOnTexture=1"}}, {{"Texture.00", "Section.01"}}},
        {{{"NumMdlOffsets=2", "NumMdlOffsets=1"}}, {{"Texture.00", "Offset.01"}}},
        {{{"NumMdlOffsets=1\r\nOffset.00=22528", "Offset.00=22528"}}, {{"Texture.01", "Offset.00"}}},
        {{{"NumTextures=2\r\n", "NumTextures=1\r\n"}}, {{"ExtraTextures", "ExtraTexture.01"}}},
        {{{"NumFields=2", "NumFields=1"}}, {{"ExtraFields", "ExtraField.01"}}},
        {{{"NumTextures=2\r\n", "NumTextures=3\r\n"}}, {{"ExtraTextures", "ExtraTexture.02"}}},
        {{{"NumFields=2", "NumFields=3"}},
         {{"ExtraFields", "ExtraField.02"}, {"ExtraFields", "ExtraFieldDefault.02"}}},
        {{{"CopyExtraFields=1\r\nNumFields=2", "CopyExtraFields=1\r\nNumFields=0"}},
         {{"ExtraFields", "NumFields"}}},
        // Names that would leave their folder or that Windows refuses.
        {{{"AircraftDirectory=Corvane C-310 Skylark", "AircraftDirectory=..\\Corvane"}},
         {{"Main", "AircraftDirectory"}}},
        {{{"DataPath=c310", "DataPath=c3/10"}}, {{"Main", "DataPath"}}},
        {{{"BaseModelName=C310_XXX", "BaseModelName=C310:XXX"}}, {{"Model", "BaseModelName"}}},
        {{{"BaseTextureFolder=", "BaseTextureFolder=shared/.."}}, {{"ExtraTextures", "BaseTextureFolder"}}},
        {{{"ExtraTexture.01=C310_PANEL_L.bmp", "ExtraTexture.01=PANEL?.bmp"}},
         {{"ExtraTextures", "ExtraTexture.01"}}},
        {{{"BaseTextureName=C310_TAIL_XXX", "BaseTextureName=C310_TAIL_XXX."}},
         {{"Texture.02", "BaseTextureName"}}},
        // Extra field names that would break the entry or give it a key twice.
        {{{"ExtraField.01=atc_parking_types", "ExtraField.01=atc=parking"}},
         {{"ExtraFields", "ExtraField.01"}}},
        {{{"ExtraField.01=atc_parking_types", "ExtraField.01=[fltsim.0]"}},
         {{"ExtraFields", "ExtraField.01"}}},
        {{{"ExtraField.01=atc_parking_types", "ExtraField.01=Title"}}, {{"ExtraFields", "ExtraField.01"}}},
        {{{"ExtraField.01=atc_parking_types", "ExtraField.01=ATC_Parking_Codes"}},
         {{"ExtraFields", "ExtraField.01"}}},
        // Values the reading did not keep.
        {{{"DataPath=c310", "DataPath=c310_with_a_far_too_long_suffix"}}, {{"Main", "DataPath"}}},
        {{{"TemplateSizeY=1024", "TemplateSizeY=0"}}, {{"Main", "TemplateSizeY"}}},
        {{{"AircraftDisplayName=Corvane C-310 Skylark", "AircraftDisplayName="}},
         {{"Main", "AircraftDisplayName"}}},
    };
    for (const Case& c : cases) {
        std::string text = kSkylarkConfiguration;
        for (const auto& [from, to] : c.edits)
            text = replaced(text, from, to);
        const std::vector<SpecProblem> problems = check(text);
        EXPECT_EQ(places(problems), c.expected) << (c.edits.empty() ? "unedited" : c.edits.front().second);
        for (const SpecProblem& p : problems)
            EXPECT_FALSE(p.message.empty());
    }
}

TEST(CheckAircraftSpec, MessagesSayWhatToFix) {
    const std::vector<SpecProblem> problems =
        check(replaced(replaced(kSkylarkConfiguration, "TextureSizeX=512", "TextureSizeX=510"),
                       "NumMdlOffsets=2", "NumMdlOffsets=3"));
    ASSERT_EQ(problems.size(), 3u);
    EXPECT_EQ(problems[0].message, "Offset.02 is missing (NumMdlOffsets = 3).");
    EXPECT_EQ(problems[1].message, "TextureSizeX 510 is not a multiple of 4, which DXT3 blocks need.");
    EXPECT_EQ(problems[2].message,
              "The texture rectangle (0,0)-(512,512) reaches outside the texture (510x512).");
}

} // namespace
} // namespace livrano
