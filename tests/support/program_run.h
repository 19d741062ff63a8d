#pragma once
// Running the built programs from a test as a user runs them, and reading what they wrote.

#include <filesystem>
#include <string>

namespace testrun {

// Runs a shell command; its exit status, and what it printed (both streams) in output.
int run_command(const std::string& command, std::string* output = nullptr);
// A file's bytes; empty when it cannot be read.
std::string read_text(const std::filesystem::path& path);

}  // namespace testrun
