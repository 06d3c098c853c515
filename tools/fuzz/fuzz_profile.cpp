// SPDX-License-Identifier: MIT
// Arbitrary bytes as a profile document, and an arbitrary section, key and value to read and
// write there. Reading and writing must never fault, and a sane value written reads back.

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdlib>
#include <string>

#include "aircraft/profile.h"

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

// A value the reader gives back unchanged: one line, no blanks to trim, no enclosing quotes.
bool readsBackAsWritten(const std::string& value) {
    if (value.find_first_of("\r\n") != std::string::npos)
        return false;
    if (!value.empty() && (isBlank(value.front()) || isBlank(value.back())))
        return false;
    const bool quoted =
        value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front();
    return !quoted;
}

void check(bool condition) {
    if (!condition)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    const std::string section = input.ConsumeRandomLengthString(64);
    const std::string key = input.ConsumeRandomLengthString(64);
    const std::string value = input.ConsumeRandomLengthString(600);
    livrano::ProfileDocument doc(input.ConsumeRemainingBytesAsString());

    const std::string original = doc.bytes();
    if (const auto found = doc.find(section, key, livrano::kIniStringChars))
        check(found->size() <= livrano::kIniStringChars);
    check(doc.readString(section, key).size() <= livrano::kIniStringChars);
    check(doc.readLongString(section, key).size() <= livrano::kIniLongStringChars);
    (void)doc.readInt(section, key);

    doc.write(section, key, value);
    if (!livrano::ProfileDocument::writable(section, key)) {
        check(doc.bytes() == original);
        return 0;
    }
    const std::string written = doc.bytes();
    const auto readBack = doc.find(section, key, livrano::kIniLongStringChars);
    check(readBack.has_value());
    if (readsBackAsWritten(value))
        check(*readBack == value.substr(0, livrano::kIniLongStringChars));
    // What is held in memory reads the same as the same bytes read afresh.
    const livrano::ProfileDocument reread(written);
    check(reread.find(section, key, livrano::kIniLongStringChars) == readBack);
    check(reread.bytes() == written);
    // Writing the same value again changes nothing.
    doc.write(section, key, value);
    check(doc.bytes() == written);
    return 0;
}
