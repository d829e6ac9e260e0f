// The credits list from arbitrary text: every item read has a known marker
// and a text, and no more items than the limit are read.
//
// The seeds are written with printf, e.g.
//   printf '# c\n= text_design_g\n+ Ann Example\n+ Bo\n- Kept\n' > seed0
//   printf '+Name\r\n* x\n+ \n=\n   \n+  two\r\n' > seed1
//   printf '= KEY\r+ a\r\n\r\n- b' > seed2
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "screens/creditslist.h"
#include "application/gameapp.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool s_bQuiet = [] {
        GameApp::disableLog();
        return true;
    }();
    (void)s_bQuiet;
    const std::string sText(reinterpret_cast<const char*>(data), size);
    const Zep::List<creditslist::Item> lItems = creditslist::read(sText.c_str());
    if (lItems.getCount() > creditslist::kMaxItems) std::abort();
    for (const creditslist::Item& item : lItems) {
        if (item.cKind != '=' && item.cKind != '+' && item.cKind != '-') std::abort();
        if (item.sText.isEmpty()) std::abort();
    }
    return 0;
}
