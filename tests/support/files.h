// Small file helpers shared by the tests: whole files in and out, and the
// place ("path:line") of a check in the project's sources.
#pragma once

#include <string>

std::string readFile(const std::string& path);
// Creates the parent folders as needed.
void writeFile(const std::string& path, const std::string& bytes);

// "<source>:<line>" for the first line of the project source that contains
// needle, as a fatal assertion's place line prints it.
std::string placeOf(const std::string& source, const std::string& needle);
