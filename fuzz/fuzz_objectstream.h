// Shared body of the object-stream targets: the settings-file layout (a frame
// byte and a string table) followed by a highscore-style list of rows.
#pragma once

#include <cstdint>

#include <zep2/error.h>
#include <zep2/hash.h>
#include <zep2/list.h>
#include <zep2/objectstreamer.h>

#include "../zep2/tests/score_row.h"

namespace fuzzing {

using testutil::ScoreRow;

inline void readSettingsLayout(Zep::Stream* in) {
    try {
        Zep::ObjectStreamer os(in, false);
        uint8_t frame = 0;
        os.readByte(frame);
        Zep::Hash<Zep::String, Zep::String> settings;
        settings.persistFrom(os);
        for (const Zep::String& key : settings.getKeys()) (void)settings.get(key);
        Zep::List<Zep::List<ScoreRow>> tables;
        for (int i = 0; i < 3; ++i) {
            os.readByte(frame);
            Zep::List<ScoreRow> rows;
            rows.persistFrom(os);
            tables.add(rows);
        }
        Zep::List<Zep::String> names;
        names.persistFrom(os);
    } catch (const Zep::Exception&) {
    }
}

}  // namespace fuzzing
