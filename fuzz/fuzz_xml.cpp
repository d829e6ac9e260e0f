// The XML pull parser walked to its end over arbitrary text.
#include <cstddef>
#include <cstdint>
#include <string>

#include <zep2/error.h>
#include <zep2/xml.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string text(reinterpret_cast<const char*>(data), size);
    Zep::XMLParser parser;
    parser.setText(text.c_str());
    try {
        for (int steps = 0; steps < 100000 && parser.next(); ++steps) {
            (void)parser.getName();
            (void)parser.getText();
            (void)parser.getOpenElements().getCount();
        }
        (void)parser.getError();
    } catch (const Zep::Exception&) {
    }
    return 0;
}
