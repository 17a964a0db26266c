// Path rules, text encodings and the crash-safe file replacement behind the
// host's file operations.
#include "host/files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

// ---------------------------------------------------------------------------
// Constants
// ---------------------------------------------------------------------------

namespace {

struct FolderPrefix {
    const char *scheme;  // vantix:// form
    const char *folder;  // file-system folder it names
};

const FolderPrefix kFolders[] = {
    {"vantix://data/", "./data/"},
    {"vantix://internal/", "./internal/"},
    {"vantix://external/", "./external/"},
};

// Appended to the target's name to form the temporary file's template.
const char *const kTempSuffix = ".tmpXXXXXX";

// Permissions of a new file before the umask, as fopen creates them.
const mode_t kNewFileMode = 0666;

// ---------------------------------------------------------------------------
// The real file operations
// ---------------------------------------------------------------------------

// The process's umask, read from /proc without changing it: setting it to
// read it back would open a window in which files made by the sound and GL
// drivers' threads get the wrong permissions. Without /proc the common 022.
mode_t CurrentUmask() {
    mode_t mask = 022;
    if (FILE *status = std::fopen("/proc/self/status", "r")) {
        char line[128];
        while (std::fgets(line, sizeof line, status)) {
            unsigned value = 0;
            if (std::sscanf(line, "Umask: %o", &value) == 1) {
                mask = static_cast<mode_t>(value & 0777);
                break;
            }
        }
        std::fclose(status);
    }
    return mask;
}

// The mode a fresh file would get from fopen: 0666 less the umask.
mode_t NewFileMode() {
    return kNewFileMode & ~CurrentUmask();
}

FILE *SystemOpenTemp(char *path_template) {
    const int fd = mkstemp(path_template);
    if (fd < 0) return nullptr;
    fchmod(fd, NewFileMode());
    FILE *file = fdopen(fd, "wb");
    if (!file) {
        close(fd);
        unlink(path_template);
    }
    return file;
}

size_t SystemWrite(const void *data, size_t size, size_t count, FILE *file) {
    return fwrite(data, size, count, file);
}

int SystemFlush(FILE *file) {
    return fflush(file);
}

int SystemSync(FILE *file) {
    return fsync(fileno(file));
}

int SystemClose(FILE *file) {
    return fclose(file);
}

int SystemRename(const char *from, const char *to) {
    return rename(from, to);
}

// Makes the rename itself durable. Best effort: some file systems refuse to
// sync a folder, and the new content is already in place.
void SyncFolderOf(const std::string &path) {
    const size_t slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash + 1);
    const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd < 0) return;
    fsync(fd);
    close(fd);
}

}  // namespace

// ---------------------------------------------------------------------------
// Paths
// ---------------------------------------------------------------------------

String bb_data_FixDataPath(String path) {
    const int i = path.Find(String(":/"));
    if (i != -1 && path.Find(String("/")) == i + 1) return path;
    if (path.StartsWith(String("./")) || path.StartsWith(String("/"))) return path;
    return String("vantix://data/") + path;
}

String host_MapVantixPath(String path) {
    if (!path.StartsWith(String("vantix:"))) return path;
    for (const FolderPrefix &prefix : kFolders) {
        const String scheme(prefix.scheme);
        if (path.StartsWith(scheme)) {
            return String(prefix.folder) + path.Slice(scheme.Length(), path.Length());
        }
    }
    return String();
}

// ---------------------------------------------------------------------------
// Encodings
// ---------------------------------------------------------------------------

std::vector<unsigned char> host_EncodeState(String state) {
    std::vector<unsigned char> bytes;
    state.Save(bytes);
    return bytes;
}

std::string host_Utf8(String text) {
    const std::vector<unsigned char> bytes = host_EncodeState(text);
    return std::string(bytes.begin(), bytes.end());
}

// ---------------------------------------------------------------------------
// Crash-safe replacement
// ---------------------------------------------------------------------------

const StateFileOps &host_SystemFileOps() {
    static const StateFileOps ops = {SystemOpenTemp, SystemWrite, SystemFlush,
                                     SystemSync,     SystemClose, SystemRename};
    return ops;
}

int host_ReplaceFile(const char *path, const std::vector<unsigned char> &bytes,
                     const StateFileOps &ops) {
    std::string temp = std::string(path) + kTempSuffix;
    FILE *file = ops.open_temp(&temp[0]);
    if (!file) return kSaveCannotCreate;

    bool complete = true;
    if (!bytes.empty()) {
        complete = ops.write(bytes.data(), 1, bytes.size(), file) == bytes.size();
    }
    complete = ops.flush(file) == 0 && complete;
    complete = ops.sync(file) == 0 && complete;
    complete = ops.close(file) == 0 && complete;  // always closed, even after a failure
    if (complete) complete = ops.rename(temp.c_str(), path) == 0;
    if (!complete) {
        unlink(temp.c_str());
        return kSaveIncomplete;
    }
    SyncFolderOf(path);
    return kSaveOk;
}
