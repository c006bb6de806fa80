#pragma once

// The program's version: one number, set once in the top CMakeLists.txt
// (project VERSION) and shown by every program, the package and the About box.
namespace version {

// "0.1.0"
const char* Number();

// When one of the arguments is "--version", prints "<program> <version>" on
// standard output and returns true: the caller then ends with exit code 0.
// Needs nothing else of the program (no display, no data), so it is asked
// before anything is set up.
bool PrintIfAsked(int argc, char** argv, const char* program);

} // namespace version
