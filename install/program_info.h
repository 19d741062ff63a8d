#pragma once
// What every installed program answers to --version, in the form help2man reads for the manual
// pages: "<program> (cockpit-panel) <version>" and a line on the licence of the shipped data.

#include <cstdio>

namespace install {

const char* version();
void print_version(const char* program, std::FILE* to = stdout);

}  // namespace install
