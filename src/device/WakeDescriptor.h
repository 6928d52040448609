#pragma once

// A file descriptor a posting thread writes to so that the user-interface thread's event loop wakes up:
// an eventfd on Linux, a pipe on other Unix systems, none elsewhere (then Qt's own cross-thread call
// wakes it). One file per system implements it.
struct WakeDescriptor
{
    // Watched for reading; -1 when the system has none.
    int readFd = -1;
    // Written to; the same as readFd for an eventfd.
    int writeFd = -1;

    static WakeDescriptor open();
    // Called by any thread: must not block.
    static void signal(int writeFd);
    // Empties it once woken, so that the next signal wakes again.
    static void drain(int readFd);
    void close();
};
