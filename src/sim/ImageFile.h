#pragma once

#include <cstddef>
#include <cstdio>

// What the flash image needs from the system beyond the C library. One file per kind of system implements
// it: ImageFile_linux.cpp with flock and posix_fallocate, ImageFile_other.cpp elsewhere.
namespace ImageFile {

// Takes the open image for this process alone, for as long as it stays open; false when another holds it.
bool lockExclusive(std::FILE* file);
// Has the file system set aside room for size bytes, so that a full disk cannot fail a later write of the
// image; false when it cannot.
bool reserve(std::FILE* file, std::size_t size);

} // namespace ImageFile
