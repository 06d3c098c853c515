// SPDX-License-Identifier: MIT
#pragma once
// Tables of test cases kept in tests/data, one row a line, so that long lists of known answers
// and byte texts are data rather than test code.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace livrano::testkit {

// The rows of tests/data/`file` whose first field is `table`, that field dropped. Fields are
// words separated by blanks, or double-quoted texts in which \r, \n, \t, \xHH, \" and \\ stand
// for what they stand for in C. A '#' outside quotes starts a comment. Fails the calling test when
// no row is found, so that a misspelt table cannot pass by having no cases.
std::vector<std::vector<std::string>> dataRows(std::string_view file, std::string_view table);

// `file` changed as a table's patch says: "cut:N" drops the last N bytes, "AT:BYTES:VALUE" writes
// VALUE little-endian over BYTES bytes from AT (counted from the end when negative). Fails the
// calling test when the patch cannot be read or reaches outside the file.
void patchBytes(std::vector<std::uint8_t>& file, const std::string& patch);

} // namespace livrano::testkit
