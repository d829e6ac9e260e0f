// The customer table "customers.txt" from arbitrary bytes, read through the
// application's files: either the table's own error naming the file, or a
// table of 1 to 1000 customers with at least one ordinary one, every name
// of 1 to 32 letters, digits and "_", every voice at least 1.
//
// With FUZZ_TUK_CUSTOMERTABLE_SEEDS set to a folder, the target writes its
// seed inputs there (the demo's form, CR LF lines, blank and comment lines,
// a bad kind, a bad voice, a long name) and ends.
#include <cctype>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include <zep2/error.h>

#include "level/customertable.h"
#include "fuzz_app.h"

namespace {

constexpr const char* kPrefix = "Customer table customers.txt";

void writeSeed(const std::string& sFolder, const char* szName, const std::string& sText) {
    if (FILE* f = std::fopen((sFolder + "/" + szName).c_str(), "wb")) {
        std::fwrite(sText.data(), 1, sText.size(), f);
        std::fclose(f);
    }
}

void writeSeeds(const std::string& sFolder) {
    const std::string sTable = "# name   kind    voice\nana      normal  1\nbea      normal  2\nvip_1    vip     2\n";
    writeSeed(sFolder, "table", sTable);
    std::string sCrlf;
    for (char c : sTable) sCrlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    writeSeed(sFolder, "crlf", sCrlf);
    writeSeed(sFolder, "blank_lines", "\n\n# first\n\nana normal 1 # end\n\n\t\nvip vip 3\n");
    writeSeed(sFolder, "bad_kind", "ana normal 1\nbo Vip 2\n");
    writeSeed(sFolder, "bad_voice", "ana normal 0x1\n");
    writeSeed(sFolder, "long_name", std::string(33, 'a') + " normal 1\n");
}

void check(bool bHolds) {
    if (!bHolds) std::abort();
}

bool isName(const Zep::String& sName) {
    if (sName.isEmpty() || sName.length() > CustomerTable::kMaxNameLength) return false;
    for (const char* p = sName.c_str(); *p; ++p)
        if (!std::isalnum(static_cast<unsigned char>(*p)) && *p != '_') return false;
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    if (const char* szFolder = std::getenv("FUZZ_TUK_CUSTOMERTABLE_SEEDS")) {
        writeSeeds(szFolder);
        std::exit(0);
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const fuzz::App app = fuzz::makeApp();
    fuzz::addFile(app, CustomerTable::kFileName, data, size, true);
    try {
        const CustomerTable table = CustomerTable::load();
        const int nNormal = table.getEntries(false).getCount(), nVip = table.getEntries(true).getCount();
        check(nNormal >= 1 && nNormal + nVip <= CustomerTable::kMaxCustomers);
        for (bool bVip : {false, true})
            for (const CustomerEntry& entry : table.getEntries(bVip)) {
                check(entry.bVip == bVip && entry.nVoice >= 1 && isName(entry.sName));
            }
    } catch (const Zep::BadStreamFormatException& e) {
        check(std::strncmp(e.getMessage(), kPrefix, std::strlen(kPrefix)) == 0);
    }
    return 0;
}
