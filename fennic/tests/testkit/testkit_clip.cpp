// Writes test clips: Theora pages and Vorbis pages, merged in time order
// after the header pages (each stream's first header alone on its page).
#include "testkit/testkit_clip.h"

#include <ogg/ogg.h>
#include <theora/theoraenc.h>
#include <vorbis/vorbisenc.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <memory>
#include <stdexcept>

namespace testkit {

namespace {

struct Page {
    double dTime;
    std::string sBytes;
};

std::string bytesOf(const ogg_page& page) {
    return std::string(reinterpret_cast<const char*>(page.header), page.header_len) +
           std::string(reinterpret_cast<const char*>(page.body), page.body_len);
}

// Every page the stream completes (all of them when flushing).
template <class TimeOf>
void drainPages(ogg_stream_state& stream, std::vector<Page>& lPages, bool bFlush, TimeOf timeOf) {
    ogg_page page;
    while (bFlush ? ogg_stream_flush(&stream, &page) : ogg_stream_pageout(&stream, &page))
        lPages.push_back({timeOf(ogg_page_granulepos(&page)), bytesOf(page)});
}

// The picture region at (x0, y0) gets nValue in its top-left nCorner square
// and nOther elsewhere; the rest of the frame nBorder.
void fillPlane(std::vector<uint8_t>& plane, int nStride, int nRows, int x0, int y0, int w, int h, int nCorner,
               uint8_t nValue, uint8_t nOther, uint8_t nBorder) {
    plane.assign(static_cast<size_t>(nStride) * nRows, nBorder);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) plane[(y0 + y) * nStride + x0 + x] = (x < nCorner && y < nCorner) ? nValue : nOther;
}

struct TheoraWriter {
    th_info info;
    th_enc_ctx* pEncoder = nullptr;
    ogg_stream_state stream;

    explicit TheoraWriter(const ClipSpec& spec) {
        th_info_init(&info);
        info.pic_width = spec.nWidth;
        info.pic_height = spec.nHeight;
        info.pic_x = spec.nOffsetX;
        info.pic_y = spec.nOffsetY;
        info.frame_width = (spec.nOffsetX + spec.nWidth + 15) & ~15;
        info.frame_height = (spec.nOffsetY + spec.nHeight + 15) & ~15;
        info.fps_numerator = spec.nFps;
        info.fps_denominator = 1;
        info.pixel_fmt = TH_PF_420;
        info.quality = 63;
        pEncoder = th_encode_alloc(&info);
        if (!pEncoder) throw std::runtime_error("th_encode_alloc");
        ogg_stream_init(&stream, 1);
    }
    ~TheoraWriter() {
        th_encode_free(pEncoder);
        th_info_clear(&info);
        ogg_stream_clear(&stream);
    }
    double timeOf(ogg_int64_t nGranule) const { return nGranule < 0 ? 0.0 : th_granule_time(pEncoder, nGranule); }

    void frame(const ClipSpec& spec, const ClipYuv& c, bool bLast, std::vector<Page>& lPages) {
        const int w = info.frame_width;
        const int h = info.frame_height;
        std::vector<uint8_t> y, u, v;
        const ClipYuv o = spec.outsideCorner.value_or(c);
        const int x0 = spec.nOffsetX, y0 = spec.nOffsetY, pw = spec.nWidth, ph = spec.nHeight;
        fillPlane(y, w, h, x0, y0, pw, ph, 16, c.y, o.y, kBorder.y);
        fillPlane(u, w / 2, h / 2, x0 / 2, y0 / 2, pw / 2, ph / 2, 8, c.u, o.u, kBorder.u);
        fillPlane(v, w / 2, h / 2, x0 / 2, y0 / 2, pw / 2, ph / 2, 8, c.v, o.v, kBorder.v);
        th_ycbcr_buffer buffer = {{w, h, w, y.data()}, {w / 2, h / 2, w / 2, u.data()}, {w / 2, h / 2, w / 2, v.data()}};
        th_encode_ycbcr_in(pEncoder, buffer);
        ogg_packet packet;
        while (th_encode_packetout(pEncoder, bLast ? 1 : 0, &packet) > 0) ogg_stream_packetin(&stream, &packet);
        drainPages(stream, lPages, bLast || spec.bShortPages, [&](ogg_int64_t g) { return timeOf(g); });
    }
};

struct VorbisWriter {
    vorbis_info info;
    vorbis_comment comment;
    vorbis_dsp_state dsp;
    vorbis_block block;
    ogg_stream_state stream;
    int nRate;

    explicit VorbisWriter(const ClipSpec& spec) : nRate(spec.nRate) {
        vorbis_info_init(&info);
        if (vorbis_encode_init_vbr(&info, spec.nChannels, spec.nRate, 0.6f) != 0)
            throw std::runtime_error("vorbis_encode_init_vbr");
        vorbis_comment_init(&comment);
        vorbis_analysis_init(&dsp, &info);
        vorbis_block_init(&dsp, &block);
        ogg_stream_init(&stream, 2);
    }
    ~VorbisWriter() {
        ogg_stream_clear(&stream);
        vorbis_block_clear(&block);
        vorbis_dsp_clear(&dsp);
        vorbis_comment_clear(&comment);
        vorbis_info_clear(&info);
    }
    void packets(std::vector<Page>& lPages, bool bFlush) {
        ogg_packet packet;
        while (vorbis_analysis_blockout(&dsp, &block) == 1) {
            vorbis_analysis(&block, nullptr);
            vorbis_bitrate_addblock(&block);
            while (vorbis_bitrate_flushpacket(&dsp, &packet)) ogg_stream_packetin(&stream, &packet);
        }
        drainPages(stream, lPages, bFlush, [&](ogg_int64_t g) { return g < 0 ? 0.0 : double(g) / nRate; });
    }
    void tone(const ClipSpec& spec, std::vector<Page>& lPages) {
        const int nFrames = static_cast<int>(spec.fSeconds * spec.nRate);
        constexpr int kPiece = 1024;
        for (int i0 = 0; i0 < nFrames; i0 += kPiece) {
            const int n = std::min(kPiece, nFrames - i0);
            float** ppBuffer = vorbis_analysis_buffer(&dsp, n);
            for (int c = 0; c < spec.nChannels; ++c)
                for (int i = 0; i < n; ++i)
                    ppBuffer[c][i] = spec.lToneChannels[c]
                                         ? spec.fAmplitude * std::sin(2.0 * M_PI * spec.fToneHz * (i0 + i) / spec.nRate)
                                         : 0.0f;
            vorbis_analysis_wrote(&dsp, n);
            packets(lPages, spec.bShortPages);
        }
        vorbis_analysis_wrote(&dsp, 0);
        packets(lPages, true);
    }
};

std::vector<ClipPage> writeFile(const std::string& sPath, std::vector<Page> lPages, size_t nHeaders) {
    std::stable_sort(lPages.begin() + nHeaders, lPages.end(),
                     [](const Page& a, const Page& b) { return a.dTime < b.dTime; });
    std::ofstream out(sPath, std::ios::binary);
    std::vector<ClipPage> lLayout;
    size_t nOffset = 0;
    for (const Page& p : lPages) {
        out << p.sBytes;
        lLayout.push_back({nOffset, p.sBytes.size(), p.dTime});
        nOffset += p.sBytes.size();
    }
    return lLayout;
}

}  // namespace

std::vector<ClipPage> writeClip(const std::string& sPath, const ClipSpec& spec) {
    std::vector<Page> lFirst, lRest, lData;
    auto zero = [](ogg_int64_t) { return 0.0; };
    std::unique_ptr<TheoraWriter> pTheora;
    std::unique_ptr<VorbisWriter> pVorbis;
    ogg_packet packet;
    th_comment comment;
    th_comment_init(&comment);
    // Each stream's first header on a page of its own, then the others.
    if (!spec.bNoPictures) {
        pTheora = std::make_unique<TheoraWriter>(spec);
        th_encode_flushheader(pTheora->pEncoder, &comment, &packet);
        ogg_stream_packetin(&pTheora->stream, &packet);
        drainPages(pTheora->stream, lFirst, true, zero);
        while (th_encode_flushheader(pTheora->pEncoder, &comment, &packet) > 0)
            ogg_stream_packetin(&pTheora->stream, &packet);
        drainPages(pTheora->stream, lRest, true, zero);
    }
    th_comment_clear(&comment);
    if (spec.nRate > 0) {
        pVorbis = std::make_unique<VorbisWriter>(spec);
        ogg_packet first, comments, codebooks;
        vorbis_analysis_headerout(&pVorbis->dsp, &pVorbis->comment, &first, &comments, &codebooks);
        ogg_stream_packetin(&pVorbis->stream, &first);
        drainPages(pVorbis->stream, lFirst, true, zero);
        ogg_stream_packetin(&pVorbis->stream, &comments);
        ogg_stream_packetin(&pVorbis->stream, &codebooks);
        drainPages(pVorbis->stream, lRest, true, zero);
        pVorbis->tone(spec, lData);
    }
    for (size_t i = 0; pTheora && i < spec.lFrames.size(); ++i)
        pTheora->frame(spec, spec.lFrames[i], i + 1 == spec.lFrames.size(), lData);
    lFirst.insert(lFirst.end(), lRest.begin(), lRest.end());
    const size_t nHeaders = lFirst.size();
    lFirst.insert(lFirst.end(), lData.begin(), lData.end());
    return writeFile(sPath, std::move(lFirst), nHeaders);
}

std::string withoutEndMarks(const std::string& sClip) {
    ogg_sync_state sync;
    ogg_sync_init(&sync);
    char* pBuffer = ogg_sync_buffer(&sync, static_cast<long>(sClip.size()));
    std::copy(sClip.begin(), sClip.end(), pBuffer);
    ogg_sync_wrote(&sync, static_cast<long>(sClip.size()));
    std::string sOut;
    ogg_page page;
    int r = 0;
    while ((r = ogg_sync_pageout(&sync, &page)) != 0) {
        if (r < 0) continue;
        page.header[5] &= ~0x04;
        ogg_page_checksum_set(&page);
        sOut += bytesOf(page);
    }
    ogg_sync_clear(&sync);
    return sOut;
}

}  // namespace testkit
