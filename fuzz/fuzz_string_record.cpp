// The string record and var-int readers over arbitrary bytes, in both byte orders.
#include <cstddef>
#include <cstdint>

#include <zep2/error.h>
#include <zep2/memstream.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    for (uint8_t order : {Zep::Stream::kLittleEndian, Zep::Stream::kBigEndian}) {
        Zep::SmartPtr<Zep::MemStream> in(new Zep::MemStream(data, static_cast<int>(size)));
        in->setByteOrder(order);
        try {
            for (int i = 0; i < 64 && !in->atEnd(); ++i) {
                switch (in->readU8() % 4) {
                    case 0: (void)in->readString(); break;
                    case 1: (void)in->readVarUInt(); break;
                    case 2: (void)in->readU32(); (void)in->readI16(); break;
                    default: (void)in->readDouble(); (void)in->readFloat(); break;
                }
            }
        } catch (const Zep::Exception&) {
        }
    }
    return 0;
}
