#include "testkit/testkit_sound.h"

#include <ogg/ogg.h>
#include <vorbis/vorbisenc.h>

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <stdexcept>

namespace testkit {

void putLE(std::string& s, uint32_t nValue, int nBytes) {
    for (int i = 0; i < nBytes; ++i) s += static_cast<char>((nValue >> (8 * i)) & 0xFF);
}

void setLE(std::string& s, size_t nAt, uint32_t nValue, int nBytes) {
    for (int i = 0; i < nBytes; ++i) s[nAt + i] = static_cast<char>((nValue >> (8 * i)) & 0xFF);
}

namespace {

// A sawtooth, the same in every channel, as unsigned 8-bit or signed 16-bit.
std::string pcm(int nFrames, int nChannels, int nBits) {
    std::string s;
    for (int i = 0; i < nFrames; ++i)
        for (int c = 0; c < nChannels; ++c) {
            const int nLevel = (i * 5) % 200 - 100;
            if (nBits == 8)
                s += static_cast<char>(128 + nLevel);
            else
                putLE(s, static_cast<uint16_t>(nLevel * 100), 2);
        }
    return s;
}

}  // namespace

std::string makeWav(const WavSpec& spec) {
    const int nFrameBytes = spec.nChannels * spec.nBits / 8;
    const std::string sData = pcm(spec.nFrames, spec.nChannels, spec.nBits);
    std::string s = "RIFF";
    putLE(s, static_cast<uint32_t>(36 + sData.size()), 4);
    s += "WAVEfmt ";
    putLE(s, 16, 4);
    putLE(s, 1, 2);  // PCM
    putLE(s, spec.nChannels, 2);
    putLE(s, spec.nRate, 4);
    putLE(s, spec.nRate * nFrameBytes, 4);
    putLE(s, nFrameBytes, 2);
    putLE(s, spec.nBits, 2);
    s += "data";
    putLE(s, static_cast<uint32_t>(sData.size()), 4);
    return s + sData;
}

std::string vocBlock(int nType, const std::string& sBody) {
    std::string s(1, static_cast<char>(nType));
    putLE(s, static_cast<uint32_t>(sBody.size()), 3);
    return s + sBody;
}

std::string makeVoc(const VocSpec& spec) {
    std::string s = "Creative Voice File\x1a";
    putLE(s, 26, 2);
    putLE(s, 0x010A, 2);
    putLE(s, 0x1129, 2);  // the version's complement plus 0x1234
    std::string sBody;
    if (spec.nBlockType == 1) {
        sBody += static_cast<char>(256 - 1000000 / spec.nRate);
        sBody += '\0';  // 8-bit unsigned
        s += vocBlock(1, sBody + pcm(spec.nFrames, 1, 8));
    } else {
        putLE(sBody, spec.nRate, 4);
        putLE(sBody, spec.nBits, 1);
        putLE(sBody, spec.nChannels, 1);
        putLE(sBody, spec.nBits == 16 ? 4 : 0, 2);
        putLE(sBody, 0, 4);
        s += vocBlock(9, sBody + pcm(spec.nFrames, spec.nChannels, spec.nBits));
    }
    return s + '\0';
}

// ---- Ogg Vorbis ------------------------------------------------------------------

namespace {

std::string bytesOf(const ogg_page& page) {
    return std::string(reinterpret_cast<const char*>(page.header), page.header_len) +
           std::string(reinterpret_cast<const char*>(page.body), page.body_len);
}

struct Encoder {
    vorbis_info info;
    vorbis_comment comment;
    vorbis_dsp_state dsp;
    vorbis_block block;
    ogg_stream_state stream;

    explicit Encoder(const OggSpec& spec) {
        vorbis_info_init(&info);
        if (vorbis_encode_init_vbr(&info, spec.nChannels, spec.nRate, 0.3f) != 0)
            throw std::runtime_error("vorbis_encode_init_vbr");
        vorbis_comment_init(&comment);
        vorbis_analysis_init(&dsp, &info);
        vorbis_block_init(&dsp, &block);
        ogg_stream_init(&stream, 0x50F7);
    }
    ~Encoder() {
        ogg_stream_clear(&stream);
        vorbis_block_clear(&block);
        vorbis_dsp_clear(&dsp);
        vorbis_comment_clear(&comment);
        vorbis_info_clear(&info);
    }
    void drain(std::string& sOut, bool bFlush) {
        ogg_page page;
        while (bFlush ? ogg_stream_flush(&stream, &page) : ogg_stream_pageout(&stream, &page)) sOut += bytesOf(page);
    }
    void headers(std::string& sOut) {
        ogg_packet first, comments, codebooks;
        vorbis_analysis_headerout(&dsp, &comment, &first, &comments, &codebooks);
        ogg_stream_packetin(&stream, &first);
        drain(sOut, true);
        ogg_stream_packetin(&stream, &comments);
        ogg_stream_packetin(&stream, &codebooks);
        drain(sOut, true);
    }
    void packets(std::string& sOut) {
        ogg_packet packet;
        while (vorbis_analysis_blockout(&dsp, &block) == 1) {
            vorbis_analysis(&block, nullptr);
            vorbis_bitrate_addblock(&block);
            while (vorbis_bitrate_flushpacket(&dsp, &packet)) ogg_stream_packetin(&stream, &packet);
        }
        drain(sOut, false);
    }
};

}  // namespace

std::string makeOggVorbis(const OggSpec& spec) {
    Encoder encoder(spec);
    std::string s;
    encoder.headers(s);
    const int nFrames = static_cast<int>(spec.fSeconds * spec.nRate);
    constexpr int kPiece = 1024;
    uint32_t nNoise = 1;
    for (int i0 = 0; i0 < nFrames; i0 += kPiece) {
        const int n = std::min(kPiece, nFrames - i0);
        float** ppBuffer = vorbis_analysis_buffer(&encoder.dsp, n);
        for (int c = 0; c < spec.nChannels; ++c)
            for (int i = 0; i < n; ++i) {
                nNoise = nNoise * 1664525u + 1013904223u;
                ppBuffer[c][i] = 0.4f * static_cast<float>(std::sin(2.0 * M_PI * 440.0 * (i0 + i) / spec.nRate)) +
                                 spec.fNoise * (static_cast<float>(nNoise >> 8) / 8388608.0f - 1.0f);
            }
        vorbis_analysis_wrote(&encoder.dsp, n);
        encoder.packets(s);
    }
    vorbis_analysis_wrote(&encoder.dsp, 0);
    encoder.packets(s);
    encoder.drain(s, true);
    return s;
}

void fixOggChecksums(std::string& sBytes) {
    size_t nAt = 0;
    while (nAt + 27 <= sBytes.size() && sBytes.compare(nAt, 4, "OggS") == 0) {
        const size_t nSegments = static_cast<uint8_t>(sBytes[nAt + 26]);
        size_t nSize = 27 + nSegments;
        for (size_t i = 0; i < nSegments && nAt + 27 + i < sBytes.size(); ++i)
            nSize += static_cast<uint8_t>(sBytes[nAt + 27 + i]);
        if (nAt + nSize > sBytes.size()) return;
        ogg_page page;
        page.header = reinterpret_cast<unsigned char*>(&sBytes[nAt]);
        page.header_len = static_cast<long>(27 + nSegments);
        page.body = page.header + page.header_len;
        page.body_len = static_cast<long>(nSize - 27 - nSegments);
        ogg_page_checksum_set(&page);
        nAt += nSize;
    }
}

// ---- XM -----------------------------------------------------------------------------

std::string makeXm(const XmSpec& spec) {
    std::string s = "Extended Module: ";
    s += std::string("kit tune").append(12, '\0');
    s += '\x1a';
    s += std::string("kit").append(17, '\0');
    putLE(s, 0x0104, 2);
    putLE(s, 276, 4);  // header size, from this field to the end of the orders
    for (int nValue : {1, 0, spec.nChannels, 1, 1, 1, 6, 125}) putLE(s, nValue, 2);
    s.append(256, '\0');  // every order plays pattern 0
    // Row 0, channel 0: note C-4 with instrument 1; every other cell empty.
    std::string sCells = "\x83\x31\x01";
    sCells.append(spec.nRows * spec.nChannels - 1, '\x80');
    putLE(s, 9, 4);
    s += '\0';
    putLE(s, spec.nRows, 2);
    putLE(s, static_cast<uint32_t>(sCells.size()), 2);
    s += sCells;
    // The instrument: 263-byte header with one sample, then the sample's
    // 40-byte header and its delta-coded bytes.
    putLE(s, 263, 4);
    s += std::string("kit instrument").append(8, '\0');
    s += '\0';
    putLE(s, 1, 2);
    putLE(s, 40, 4);
    s.append(263 - 33, '\0');
    for (int nValue : {spec.nSampleBytes, 0, spec.nSampleBytes}) putLE(s, nValue, 4);
    s.append("\x40\x00\x01\x80\x00\x00", 6);  // volume, finetune, forward loop, panning, note, reserved
    s += std::string("kit sample").append(12, '\0');
    for (int i = 0; i < spec.nSampleBytes; ++i) s += static_cast<char>(i == 0 ? 0 : (i % 16 < 8 ? 12 : -12));
    return s;
}

}  // namespace testkit
