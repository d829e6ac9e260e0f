// The output folders and the PNG encoding of canvases.
#include "output.h"

#include <filesystem>
#include <fstream>
#include <stdexcept>

#include "image/memimage.h"
#include "image/pngwriter.h"

namespace cg {

namespace {

const char* folderName(Folder folder) {
    switch (folder) {
        case Folder::Lang: return "lang_en";
        case Folder::Data: return "tuk_data";
        case Folder::Sound: return "tuk_sound";
    }
    return "tuk_data";
}

}  // namespace

Output::Output(const std::string& sRoot) : m_sRoot(sRoot) {
    for (Folder folder : {Folder::Lang, Folder::Data, Folder::Sound})
        std::filesystem::create_directories(std::filesystem::path(m_sRoot) / folderName(folder));
}

std::string Output::path(Folder folder, const std::string& sFile) const {
    return (std::filesystem::path(m_sRoot) / folderName(folder) / sFile).string();
}

void Output::bytes(Folder folder, const std::string& sFile, const std::vector<uint8_t>& vBytes) {
    std::ofstream out(path(folder, sFile), std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(vBytes.data()), static_cast<std::streamsize>(vBytes.size()));
    if (!out) throw std::runtime_error("contentgen: cannot write " + path(folder, sFile));
    ++m_nFiles;
    m_nBytes += static_cast<int64_t>(vBytes.size());
}

void Output::text(Folder folder, const std::string& sFile, const std::string& sText) {
    bytes(folder, sFile, std::vector<uint8_t>(sText.begin(), sText.end()));
}

void Output::picture(const std::string& sName, const Canvas& canvas) {
    bytes(Folder::Data, sName + ".png", encodePng(canvas));
}

std::vector<uint8_t> encodePng(const Canvas& canvas) {
    // The canvas's bytes are R, G, B, A in memory: these masks on a
    // little-endian machine.
    auto& vPixels = const_cast<std::vector<Rgba>&>(canvas.pixels());
    MemImage image(vPixels.data(), canvas.width(), canvas.height(), 32, canvas.width() * 4, 0x000000FFu,
                   0x0000FF00u, 0x00FF0000u, 0xFF000000u);
    return encodePngRgba(image);
}

}  // namespace cg
