// Key codes, modifier bits and mouse-button masks as the platform delivers them.
//
// The values are SDL 1.2's key symbols and modifier masks, so the platform can
// pass SDL's numbers through unchanged while the framework needs no SDL header.
// They live in namespaces rather than as macros so that a driver including SDL
// next to this header sees no clashes.
#pragma once

namespace Key {

constexpr int Unknown = 0;
constexpr int Backspace = 8;
constexpr int Tab = 9;
constexpr int Clear = 12;
constexpr int Return = 13;
constexpr int Pause = 19;
constexpr int Escape = 27;
constexpr int Space = 32;
constexpr int Exclaim = 33;
constexpr int QuoteDbl = 34;
constexpr int Hash = 35;
constexpr int Dollar = 36;
constexpr int Ampersand = 38;
constexpr int Quote = 39;
constexpr int LeftParen = 40;
constexpr int RightParen = 41;
constexpr int Asterisk = 42;
constexpr int Plus = 43;
constexpr int Comma = 44;
constexpr int Minus = 45;
constexpr int Period = 46;
constexpr int Slash = 47;
constexpr int Num0 = 48;  // '0' .. '9' are 48 .. 57
constexpr int Num9 = 57;
constexpr int Colon = 58;
constexpr int Semicolon = 59;
constexpr int Less = 60;
constexpr int Equals = 61;
constexpr int Greater = 62;
constexpr int Question = 63;
constexpr int At = 64;
constexpr int LeftBracket = 91;
constexpr int Backslash = 92;
constexpr int RightBracket = 93;
constexpr int Caret = 94;
constexpr int Underscore = 95;
constexpr int BackQuote = 96;
constexpr int A = 97;  // letters are the lower-case ASCII codes 97 .. 122
constexpr int Z = 122;
constexpr int Delete = 127;

constexpr int KP0 = 256;  // keypad digits 256 .. 265
constexpr int KP9 = 265;
constexpr int KPPeriod = 266;
constexpr int KPDivide = 267;
constexpr int KPMultiply = 268;
constexpr int KPMinus = 269;
constexpr int KPPlus = 270;
constexpr int KPEnter = 271;
constexpr int KPEquals = 272;

constexpr int Up = 273;
constexpr int Down = 274;
constexpr int Right = 275;
constexpr int Left = 276;
constexpr int Insert = 277;
constexpr int Home = 278;
constexpr int End = 279;
constexpr int PageUp = 280;
constexpr int PageDown = 281;

constexpr int F1 = 282;
constexpr int F2 = 283;
constexpr int F3 = 284;
constexpr int F4 = 285;
constexpr int F5 = 286;
constexpr int F6 = 287;
constexpr int F7 = 288;
constexpr int F8 = 289;
constexpr int F9 = 290;
constexpr int F10 = 291;
constexpr int F11 = 292;
constexpr int F12 = 293;
constexpr int F13 = 294;
constexpr int F14 = 295;
constexpr int F15 = 296;

constexpr int NumLock = 300;
constexpr int CapsLock = 301;
constexpr int ScrollLock = 302;
constexpr int RShift = 303;
constexpr int LShift = 304;
constexpr int RCtrl = 305;
constexpr int LCtrl = 306;
constexpr int RAlt = 307;
constexpr int LAlt = 308;
constexpr int RMeta = 309;
constexpr int LMeta = 310;
constexpr int LSuper = 311;
constexpr int RSuper = 312;
constexpr int Mode = 313;
constexpr int Compose = 314;
constexpr int Help = 315;
constexpr int Print = 316;
constexpr int SysReq = 317;
constexpr int Break = 318;
constexpr int Menu = 319;
constexpr int Power = 320;
constexpr int Euro = 321;
constexpr int Undo = 322;

// Letter key for 'a' .. 'z' (either case).
constexpr int letter(char c) { return (c >= 'A' && c <= 'Z') ? c - 'A' + A : c; }

}  // namespace Key

namespace KeyMod {

constexpr unsigned None = 0x0000;
constexpr unsigned LShift = 0x0001;
constexpr unsigned RShift = 0x0002;
constexpr unsigned LCtrl = 0x0040;
constexpr unsigned RCtrl = 0x0080;
constexpr unsigned LAlt = 0x0100;
constexpr unsigned RAlt = 0x0200;
constexpr unsigned LMeta = 0x0400;
constexpr unsigned RMeta = 0x0800;
constexpr unsigned Num = 0x1000;
constexpr unsigned Caps = 0x2000;
constexpr unsigned Mode = 0x4000;

constexpr unsigned Shift = LShift | RShift;
constexpr unsigned Ctrl = LCtrl | RCtrl;
constexpr unsigned Alt = LAlt | RAlt;
constexpr unsigned Meta = LMeta | RMeta;

}  // namespace KeyMod

// Mouse buttons travel as one-bit masks; buttons 4 and 5 are the wheel.
namespace MouseButton {

constexpr int Left = 1;
constexpr int Middle = 2;
constexpr int Right = 4;
constexpr int WheelUp = 8;
constexpr int WheelDown = 16;

// Mask of a 1-based button number; 0 outside 1 .. 5.
constexpr int maskOf(int button) { return (button >= 1 && button <= 5) ? 1 << (button - 1) : 0; }

}  // namespace MouseButton
