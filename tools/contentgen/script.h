// Script: builds the text of a generated animation script line by line.
#pragma once

#include <cstdarg>
#include <cstdio>
#include <string>

namespace cg {

class Script {
public:
    // One line, printf-style; the newline is added.
    __attribute__((format(printf, 2, 3))) Script& line(const char* szFormat, ...) {
        char buf[512];
        va_list args;
        va_start(args, szFormat);
        std::vsnprintf(buf, sizeof buf, szFormat, args);
        va_end(args);
        m_sText += buf;
        m_sText += '\n';
        return *this;
    }
    const std::string& text() const { return m_sText; }

private:
    std::string m_sText;
};

}  // namespace cg
