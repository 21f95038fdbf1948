// The line format shared by the observation helpers (xrecv, boxanswer) and the end-to-end test
// harness that reads their files. One record is one UTF-8 line of tab-separated fields; tab,
// CR, LF and backslash inside a field are written as \t, \r, \n and \\.
//
//   xrecv:      <window title> TAB <dwData> TAB <cbData> TAB <text>
//   boxanswer:  <caption> TAB <text> TAB <button|button|...> TAB <pressed button or "-">
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace qorin::observe {

std::string Escape(std::string_view field);
std::string Unescape(std::string_view field);

// Joins escaped fields with tabs (no line end).
std::string JoinFields(const std::vector<std::string>& fields);
// Splits one line into unescaped fields.
std::vector<std::string> SplitFields(std::string_view line);

// Splits a file's text into lines, without their line ends; a last empty line is dropped.
std::vector<std::string> SplitLines(std::string_view text);

}  // namespace qorin::observe
