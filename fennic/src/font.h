// Font and FontFactory: the text renderer and its makers, as far as the
// theme and the modes hold them. Text layout and the concrete fonts build on
// these classes.
#pragma once

#include <zep2/list.h>
#include <zep2/refcount.h>
#include <zep2/str.h>

class Font : public Zep::RefCountedObject {
public:
    ~Font() override = default;
};

// Makes fonts of one class (the word after "class" in a theme's font
// specification) from the remaining words of that specification.
class FontFactory : public Zep::RefCountedObject {
public:
    ~FontFactory() override = default;
    virtual Zep::SmartPtr<Font> createFont(const Zep::List<Zep::String>& lWords) = 0;
};
