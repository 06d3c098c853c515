// SPDX-License-Identifier: MIT
#include "support/data_rows.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <sstream>

#include "support/temp_dir.h"

namespace livrano::testkit {

namespace {

// The fields of one line of a table.
std::vector<std::string> fieldsOf(const std::string& line) {
    std::vector<std::string> fields;
    std::size_t at = line.find_first_not_of(" \t");
    while (at != std::string::npos && line[at] != '#') {
        std::string field;
        if (line[at] != '"') {
            const std::size_t end = std::min(line.find_first_of(" \t", at), line.size());
            field = line.substr(at, end - at);
            at = end;
        } else {
            for (++at; at < line.size() && line[at] != '"'; ++at) {
                if (line[at] == '\\' && at + 1 < line.size()) {
                    const char c = line[++at];
                    if (c == 'x' && at + 2 < line.size()) { // a byte of another code page
                        field += static_cast<char>(std::stoi(line.substr(at + 1, 2), nullptr, 16));
                        at += 2;
                        continue;
                    }
                    field += c == 'r' ? '\r' : c == 'n' ? '\n' : c == 't' ? '\t' : c;
                } else {
                    field += line[at];
                }
            }
            ++at; // the closing quotation mark
        }
        fields.push_back(std::move(field));
        at = line.find_first_not_of(" \t", std::min(at, line.size()));
    }
    return fields;
}

} // namespace

std::vector<std::vector<std::string>> dataRows(std::string_view file, std::string_view table) {
    std::istringstream text(readFile(testData(file)));
    std::vector<std::vector<std::string>> rows;
    for (std::string line; std::getline(text, line);) {
        std::vector<std::string> fields = fieldsOf(line);
        if (!fields.empty() && fields.front() == table)
            rows.emplace_back(fields.begin() + 1, fields.end());
    }
    EXPECT_FALSE(rows.empty()) << "no " << table << " rows in " << file;
    return rows;
}

void patchBytes(std::vector<std::uint8_t>& file, const std::string& patch) {
    long at = 0, value = 0;
    int bytes = 0;
    if (std::sscanf(patch.c_str(), "cut:%ld", &at) == 1 && at >= 0 && std::size_t(at) <= file.size())
        file.resize(file.size() - std::size_t(at));
    else if (std::sscanf(patch.c_str(), "%ld:%d:%li", &at, &bytes, &value) == 3)
        for (int i = 0; i < bytes; ++i)
            file.at(std::size_t(at < 0 ? at + long(file.size()) : at) + std::size_t(i)) =
                static_cast<std::uint8_t>(value >> (8 * i));
    else
        ADD_FAILURE() << "unreadable patch " << patch;
}

} // namespace livrano::testkit
