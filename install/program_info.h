#pragma once
// What every installed program answers to --version, in the form help2man reads for the manual
// pages: "<program> (cockpit-panel) <version>", the copyright and licence (help2man makes them the
// pages' COPYRIGHT section) and a line on the shipped data.

#include <cstdio>

namespace install {

const char* version();
void print_version(const char* program, std::FILE* to = stdout);

}  // namespace install
