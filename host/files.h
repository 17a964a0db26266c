// Paths, file loading and the state file: the helpers behind BBGame's file
// operations, usable without a host object.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>
#include <vector>

#include "runtime/runtime.h"

// The state file, relative to the working directory.
constexpr const char *kStateFileName = "./.vantixstate";

// Result codes of SaveState.
constexpr int kSaveOk = 0;
constexpr int kSaveCannotCreate = -1;
constexpr int kSaveIncomplete = -2;

// Makes an asset name a full path: names with a scheme, "./..." and "/..."
// stay, anything else goes under vantix://data/.
String bb_data_FixDataPath(String path);

// The desktop mapping of vantix:// paths to the working directory's data,
// internal and external folders; other vantix: paths map to "" (no file),
// plain paths stay unchanged.
String host_MapVantixPath(String path);

// A 16-bit path or mode as UTF-8 bytes (each unit encoded by itself).
std::string host_Utf8(String text);

// Encodes the state string: one to three bytes per 16-bit unit.
std::vector<unsigned char> host_EncodeState(String state);

// The steps of a crash-safe file replacement; tests substitute failing ones.
// Each returns what its C library counterpart returns.
struct StateFileOps {
    FILE *(*open_temp)(char *path_template);  // mkstemp + fdopen "wb"; null on failure
    size_t (*write)(const void *data, size_t size, size_t count, FILE *file);  // fwrite
    int (*flush)(FILE *file);                                                  // fflush
    int (*sync)(FILE *file);                                                   // fsync(fileno)
    int (*close)(FILE *file);                                                  // fclose
    int (*rename)(const char *from, const char *to);                           // rename
};

// The real system calls.
const StateFileOps &host_SystemFileOps();

// Writes bytes to a temporary file next to path, flushes, syncs and closes it, and
// renames it over path, then syncs the folder. kSaveCannotCreate when the
// temporary file cannot be made, kSaveIncomplete when any write, flush,
// sync, close or rename fails; on failure the temporary file is removed and the
// old file stays as it was.
int host_ReplaceFile(const char *path, const std::vector<unsigned char> &bytes,
                     const StateFileOps &ops = host_SystemFileOps());
