// The cut-scene captions: the story's texts, one per panel in the order the
// campaign shows them, and the lines a caption is drawn in. A caption wraps
// at the balanced width of the caption box (the narrowest that keeps its
// line count), so its lines break where they read as a sentence and its
// last line takes as many words as that count lets it.
#pragma once

#include <string>
#include <vector>

#include "text.h"

namespace cg {

namespace captions {

inline constexpr const char* kArrival = "You arrive in Tuk Harbor with one suitcase and a big idea.";
inline constexpr const char* kOldBar = "By the pier stands an old beach bar, empty and for sale. Now it is yours!";
inline constexpr const char* kFirstGuests =
    "The first guests love your fresh juices, and they come back with friends.";
inline constexpr const char* kWordSpreads = "Word spreads along the harbour: everyone wants to try the new bar.";
inline constexpr const char* kSummer = "Summer comes, and the harbour fills with boats and thirsty sailors.";
inline constexpr const char* kMusicNight = "On warm evenings, music and dancing fill the bar.";
inline constexpr const char* kStorm = "A storm rolls in from the sea, but the lights of the bar stay on.";
inline constexpr const char* kMending = "The next morning the whole town helps to mend the roof.";
inline constexpr const char* kFestival = "The harbour festival! The whole town gathers at your bar.";
inline constexpr const char* kEnding = "Your bar is the finest on the coast. Thank you for playing!";

inline constexpr const char* kAll[] = {kArrival, kOldBar, kFirstGuests, kWordSpreads, kSummer,
                                       kMusicNight, kStorm, kMending, kFestival, kEnding};

}  // namespace captions

// The box's room for text, and the captions' type.
constexpr int kCaptionWidth = 700;
TextStyle captionStyle();
// The caption's lines, without the spaces they break at.
std::vector<std::string> captionLines(const std::string& sText);

}  // namespace cg
