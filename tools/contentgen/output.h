// Output: the three flat folders the generator fills, one per archive, and
// the writers of pictures, sounds and text into them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "canvas.h"

namespace cg {

enum class Folder { Lang, Data, Sound };

class Output {
public:
    // Makes root/lang_en, root/tuk_data and root/tuk_sound when missing.
    explicit Output(const std::string& sRoot);

    // "<name>.png" in tuk_data.
    void picture(const std::string& sName, const Canvas& canvas);
    // The file as named, in the folder.
    void text(Folder folder, const std::string& sFile, const std::string& sText);
    void bytes(Folder folder, const std::string& sFile, const std::vector<uint8_t>& vBytes);

    int fileCount() const { return m_nFiles; }
    int64_t byteCount() const { return m_nBytes; }

private:
    std::string path(Folder folder, const std::string& sFile) const;

    std::string m_sRoot;
    int m_nFiles = 0;
    int64_t m_nBytes = 0;
};

// The PNG bytes of the canvas (8-bit RGBA), through the framework's encoder.
std::vector<uint8_t> encodePng(const Canvas& canvas);

}  // namespace cg
