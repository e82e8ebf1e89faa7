#pragma once
// Shared by the fuzz targets: a private scratch folder, files written from fuzzer bytes, and a
// check that stops the run with a message when a property of the code does not hold.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

// Stops the run (libFuzzer records the input as a crash) when `cond` is false.
#define FUZZ_CHECK(cond)                                                                              \
    do {                                                                                              \
        if (!(cond)) {                                                                                \
            std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #cond);             \
            std::abort();                                                                             \
        }                                                                                             \
    } while (false)

// A folder of this process for the files a target writes; in memory when /dev/shm exists, so that
// a save's fsync costs nothing.
inline const std::string& FuzzScratchDir()
{
    static const std::string dir = [] {
        std::string base = ::access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
        std::string path = base + "/zq708-fuzz-" + std::to_string(::getpid());
        ::mkdir(path.c_str(), 0700);
        return path;
    }();
    return dir;
}

inline std::string FuzzScratchPath(const std::string& name)
{
    return FuzzScratchDir() + "/" + name;
}

inline void WriteFuzzFile(const std::string& path, const void* data, std::size_t size)
{
    std::FILE* file = std::fopen(path.c_str(), "wb");
    FUZZ_CHECK(file != nullptr);
    if (size > 0)
        FUZZ_CHECK(std::fwrite(data, 1, size, file) == size);
    FUZZ_CHECK(std::fclose(file) == 0);
}
