// A private scratch folder for test files, removed with its contents.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

class ScratchDir {
public:
    ScratchDir() {
        char pattern[] = "/tmp/tesselon-audio.XXXXXX";
        const char *made = mkdtemp(pattern);
        path_ = made ? made : "/tmp";
    }
    ~ScratchDir() {
        std::string command = "rm -rf '" + path_ + "'";
        if (system(command.c_str()) != 0) perror("rm");
    }
    const std::string &path() const { return path_; }
    std::string File(const std::string &name) const { return path_ + "/" + name; }

    std::string Write(const std::string &name, const std::vector<unsigned char> &bytes) const {
        std::string file = File(name);
        FILE *f = fopen(file.c_str(), "wb");
        if (f) {
            if (!bytes.empty()) fwrite(bytes.data(), 1, bytes.size(), f);
            fclose(f);
        }
        return file;
    }

private:
    std::string path_;
};

inline std::vector<unsigned char> ReadFile(const std::string &path) {
    std::vector<unsigned char> bytes;
    FILE *f = fopen(path.c_str(), "rb");
    if (!f) return bytes;
    unsigned char buf[4096];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, f)) > 0) bytes.insert(bytes.end(), buf, buf + n);
    fclose(f);
    return bytes;
}
