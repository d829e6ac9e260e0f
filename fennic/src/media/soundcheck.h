// The check every sound file passes before the mixer library sees its bytes.
//
// The mixer and the decoders behind it trust the headers they read: a WAV of
// no channels or no rate, a chunk or block that claims more bytes than the
// file has, or a missing "data" chunk makes them overrun memory, free it
// twice or loop for ever. So the loaders hand the mixer only files whose
// container was walked here within the bytes, whose required chunks, blocks
// or headers are present and whose channel counts, rates and sample sizes
// lie within the limits below. The check reads headers and block tables, not
// the sound itself (Ogg pages are checksummed, so that the pages walked here
// are exactly the pages the decoder accepts), in time linear in the size.
//
// Formats, recognised by their first bytes whatever the file's name:
// - WAV ("RIFF" .... "WAVE"): samples and music. Only "fact" and "LIST"
//   chunks may come before "fmt "; chunks are not padded (the mixer's readers
//   skip exactly the stated length); 8- or 16-bit PCM.
// - Creative voice files ("Creative Voice File\x1a"): samples. Blocks 1 and
//   9 (sound), 2 (more sound), 3 (silence), 5 (text), 6 and 7 (repeat marks,
//   skipped) up to block 0 or the end; one sound format throughout.
// - Ogg Vorbis ("OggS"): samples and music. Every logical stream is Vorbis:
//   its identification and comment headers are read, and its setup header
//   (codebooks, floors, residues, mappings, modes) bit by bit.
// - XM ("Extended Module: "): music. Version 1.04 layout: header, patterns,
//   instruments with their sample headers and data.
#pragma once

#include <cstddef>
#include <cstdint>

#include <zep2/str.h>

// What the bytes are loaded as: a sample is decoded whole at load (and so
// has a length limit); music is streamed while it plays.
enum class SoundUse { Sample, Music };

// Rates the mixer converts from without running out of conversion steps.
constexpr uint32_t kSoundMinRate = 4000;
constexpr uint32_t kSoundMaxRate = 96000;
// The driver mixes in stereo; more channels are not folded down safely.
constexpr uint32_t kSoundMaxChannels = 2;
// A sample is held decoded and converted to the mixer's format: two minutes
// of sound at most (about 21 MB at 44.1 kHz stereo).
constexpr uint32_t kSoundMaxSampleSeconds = 120;
// Logical streams of one Ogg file (each is opened with all its headers).
constexpr int kSoundMaxOggStreams = 8;
// XM limits, those of the format's own editor.
constexpr uint32_t kXmMaxChannels = 32;
constexpr uint32_t kXmMaxPatterns = 256;
constexpr uint32_t kXmMaxRows = 256;
constexpr uint32_t kXmMaxSongLength = 256;
constexpr uint32_t kXmMaxInstruments = 128;
constexpr uint32_t kXmMaxSamplesPerInstrument = 16;

// Empty when the bytes may be given to the mixer as that use; otherwise what
// is wrong with them, e.g. "WAV: 0 channels, 1 to 2 allowed".
Zep::String checkSound(const void* pBytes, size_t nSize, SoundUse use);
