#pragma once
// Path names as they are stored on disk.

#include <string>

// Path with every folder and the file name in the case stored on disk. A
// component that does not exist under its exact name is looked up in its
// parent without regard to case (names typed by hand or stored by a program
// on a case-insensitive file system); components that cannot be found stay
// as given, and so does everything after them.
std::string LongPathName(const std::string& Path);
