#include "sim/ImageFile.h"

// Without flock and posix_fallocate (a system that has them gets a file of its own) the image is neither
// locked nor reserved: two programs on one image are the user's to avoid, and a full disk shows at the write
// that fails.
bool ImageFile::lockExclusive(std::FILE*)
{
    return true;
}

bool ImageFile::reserve(std::FILE*, std::size_t)
{
    return true;
}
