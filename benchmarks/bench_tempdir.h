// A fresh temporary folder for the files a benchmark program writes; it and
// everything in it are removed when the program exits.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>

namespace bench {

// The program's scratch folder, made on first use under the system's
// temporary folder.
inline const std::string& tempDir() {
    struct Dir {
        std::string path;
        Dir() {
            std::string pattern = (std::filesystem::temp_directory_path() / "tukbench.XXXXXX").string();
            if (!::mkdtemp(pattern.data())) throw std::runtime_error("cannot make a temporary folder");
            path = pattern;
        }
        ~Dir() {
            std::error_code ec;
            std::filesystem::remove_all(path, ec);
        }
    };
    static const Dir dir;
    return dir.path;
}

// The path of a file of that name in the scratch folder.
inline std::string tempFile(const std::string& name) { return tempDir() + "/" + name; }

}  // namespace bench
