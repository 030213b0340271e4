#pragma once
// A fault in a source file whose folder name has a dot: the report's module must be this
// file's path without its extension, not the path cut at the folder's dot.

namespace crashtest {

// Tells where the fault will be: the line and the source file.
using FaultNote = void (*)(int line, const char* file);

// Reads through a null pointer after telling `note` the line of the read.
void ReadThroughNullInDottedFolder(FaultNote note);

}  // namespace crashtest
