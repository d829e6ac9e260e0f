// A resource archive opened from arbitrary bytes, with every entry loaded.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include <zep2/error.h>
#include <zep2/resourcefile.h>

namespace {

std::string archivePath() {
    static const std::string path = "/tmp/fuzz_resourcefile_" + std::to_string(getpid()) + ".dat";
    return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string path = archivePath();
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return 0;
    std::fwrite(data, 1, size, f);
    std::fclose(f);
    try {
        Zep::ResourceFile archive(path.c_str());
        for (const Zep::String& name : archive.listNames()) {
            try {
                Zep::SmartPtr<Zep::Resource> res = archive.load(name.c_str());
                (void)res->getSize();
            } catch (const Zep::Exception&) {
            }
        }
        (void)archive.exists("missing");
    } catch (const Zep::Exception&) {
    }
    std::remove(path.c_str());
    return 0;
}
