// SPDX-License-Identifier: MIT
#include "support/sample_configuration.h"

#include <gtest/gtest.h>

#include "aircraft/cipher.h"
#include "app/text.h"
#include "support/temp_dir.h"

namespace livrano::testkit {

const std::string kSkylarkConfiguration = readFile(testData("skylark.cfg"));

std::string encipherConfiguration(std::string_view plain, std::string_view key) {
    clsEncrypt cipher;
    std::string buffer(plain);
    cipher.EncryptByte(buffer, key.empty() ? kProgramKey : key);
    return buffer;
}

void writeConfiguration(const std::filesystem::path& file, std::string_view plain, std::string_view key) {
    writeFile(file, encipherConfiguration(plain, key));
}

ReadConfiguration readConfiguration(const std::string& text) {
    ReadConfiguration r;
    EXPECT_TRUE(
        readAircraftSpec(ProfileDocument(text), false, r.spec, r.extraTextures, r.extraFields, &r.notes));
    return r;
}

std::vector<SpecProblem> configurationProblems(const std::string& text) {
    const ReadConfiguration r = readConfiguration(text);
    return checkAircraftSpec(ProfileDocument(text), r.spec, r.extraTextures, r.extraFields, r.notes);
}

std::string replaced(std::string text, std::string_view from, std::string_view to) {
    const std::size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << "no \"" << from << "\" to replace";
    if (at != std::string::npos)
        text.replace(at, from.size(), to);
    return text;
}

std::string hostileConfiguration() {
    std::string text =
        "[Main]\r\nNumTextures=32767\r\n[ExtraFields]\r\nCopyExtraFields=1\r\nNumFields=32767\r\n";
    for (int i = 0; i < 32767; ++i)
        text += "[Texture." + twoDigits(i) + "]\r\nNumSectionsOnTexture=32767\r\nNumMdlOffsets=32767\r\n";
    for (int j = 0; j < 4000; ++j)
        for (const char* field : {"TemplateLeft", "TemplateTop", "TemplateRight", "TemplateBottom",
                                  "DestLeft", "DestTop", "DestRight", "DestBottom"})
            text += "Section." + twoDigits(j) + "." + field + "=1\r\n";
    return text;
}

} // namespace livrano::testkit
