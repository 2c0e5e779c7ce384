// The program's folder (the folder of the running executable) and the file
// names the engine resolves against it.
#pragma once

#include <string>

namespace gfxsdl {

// The folder of the running executable, with a trailing '/'; "" when it
// cannot be found, so that relative names lie in the working folder.
const std::string& ProgramFolder();

// A name starting with '/' is absolute and kept; any other name lies in the
// program's folder. '\\' counts as '/', and leading separators of a relative
// name are dropped.
std::string ResolveProgramPath(const std::string& name);

// The path of an existing file whose name equals `path` without regard to
// case, component by component (the exact path first); empty when none.
std::string FindFileNoCase(const std::string& path);

}  // namespace gfxsdl
