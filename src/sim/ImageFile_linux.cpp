#include "sim/ImageFile.h"

#include <fcntl.h>
#include <sys/file.h>

bool ImageFile::lockExclusive(std::FILE* file)
{
    // Let go by the system with the process, however that ends.
    return ::flock(::fileno(file), LOCK_EX | LOCK_NB) == 0;
}

bool ImageFile::reserve(std::FILE* file, std::size_t size)
{
    // A sparse image has no room yet where it holds nothing.
    return ::posix_fallocate(::fileno(file), 0, static_cast<off_t>(size)) == 0;
}
