#pragma once
// Shared by the fuzz targets: a private scratch folder, files written from fuzzer bytes, and a
// check that stops the run with a message when a property of the code does not hold.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "app/AppPaths.h"

// Stops the run (libFuzzer records the input as a crash) when `cond` is false.
#define FUZZ_CHECK(cond)                                                                                     \
    do {                                                                                                     \
        if (!(cond)) {                                                                                       \
            std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #cond);                    \
            std::abort();                                                                                    \
        }                                                                                                    \
    } while (false)

// A folder of this process for the files a target writes, removed at exit; in memory when /dev/shm
// exists, so that a save's fsync costs nothing.
inline const std::string& FuzzScratchDir()
{
    // Never destroyed, so that the removal at exit can still read it.
    static const std::string& dir = *[] {
        const std::string base = ::access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
        auto* path = new std::string(base + "/zq708-fuzz-" + std::to_string(::getpid()));
        ::mkdir(path->c_str(), 0700);
        std::atexit([] {
            std::error_code ignored;
            std::filesystem::remove_all(FuzzScratchDir(), ignored);
        });
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

// Points the program paths at the shipped settings and English language file, once per process.
inline void UseShippedFiles()
{
    [[maybe_unused]] static const bool done = [] {
        g_strSettingFile = ZQ708_SOURCE_DIR "/lang/setting.ini";
        g_strLangFile = ZQ708_SOURCE_DIR "/lang/english.lang";
        return true;
    }();
}
