// Zep::String: the program's one text type, an owned NUL-terminated 8-bit buffer.
#pragma once

#include <cstdarg>
#include <cstdint>

namespace Zep {

template <class T> class List;
template <class T> class SmartPtr;
class MemStream;

class String {
public:
    String();
    String(const char* text);  // null gives an empty String
    String(const char* buffer, int n);
    explicit String(char c);
    String(const String& other);
    ~String();

    String& assign(const char* text);
    String& assign(const char* buffer, int n);
    String& append(const char* text);
    void reserve(int n);

    String& operator=(const String& other) { return assign(other.m_pData); }
    String& operator=(const char* text) { return assign(text); }
    String& operator=(char c);
    String& operator+=(const char* text) { return append(text); }
    String& operator+=(const String& text) { return append(text.m_pData); }
    String& operator+=(char c);

    int length() const;
    const char* c_str() const { return m_pData; }
    bool isEmpty() const { return m_pData[0] == 0; }
    int getCapacity() const { return m_nCapacity; }

    // A negative index counts from the end (-1 is the last byte).
    char& operator[](int index);
    const char& operator[](int index) const;

    int find(const char* text, int start = 0) const;
    int find(char c, int start = 0) const;
    int findLast(char c) const;
    int findFirstOf(const char* set, int start = 0) const;

    // Comparisons with a C string; null counts as the empty text for == != <= >=.
    bool operator==(const char* text) const;
    bool operator!=(const char* text) const { return !(*this == text); }
    bool operator<(const char* text) const;
    bool operator>(const char* text) const;
    bool operator<=(const char* text) const;
    bool operator>=(const char* text) const;
    bool operator==(const String& s) const { return *this == s.m_pData; }
    bool operator!=(const String& s) const { return *this != s.m_pData; }
    bool operator<(const String& s) const { return *this < s.m_pData; }
    bool operator>(const String& s) const { return *this > s.m_pData; }
    bool operator<=(const String& s) const { return *this <= s.m_pData; }
    bool operator>=(const String& s) const { return *this >= s.m_pData; }

    String left(int n) const;
    String right(int n) const;
    String mid(int from, int to) const;
    String mid(int from) const;
    String trimLeft() const;
    String trimRight() const;
    String trim() const;
    String toUpper() const;
    String toLower() const;

    static String formatV(const char* fmt, va_list args);
    static String format(const char* fmt, ...) __attribute__((format(printf, 1, 2)));
    int sprintf(const char* fmt, ...) __attribute__((format(printf, 2, 3)));
    static int toInt(const char* text);
    static float toFloat(const char* text);
    int toInt() const { return toInt(m_pData); }
    float toFloat() const { return toFloat(m_pData); }
    static String formatThousands(int value, const char* separator);

    String replaceFirst(const char* from, const char* to) const;
    String replaceAll(const char* from, const char* to) const;
    String replaceAllIgnoreCase(const char* from, const char* to) const;

    int utf8Length() const;
    const char* utf8At(int n) const;
    String utf8Left(int n) const;
    String utf8Right(int n) const;
    String utf8Mid(int from, int to) const;
    String utf8Mid(int from) const;
    static String fromCodePoint(int codePoint);

    // List-based members and the binary escape live with the string lists.
    List<String> split(const char* separators = nullptr) const;
    List<String> splitByClasses(List<String> classes, const char* singles) const;
    static String commonPrefix(const List<String>& texts);
    static String escapeBinary(const void* data, int size);
    // Returns a new growable MemStream holding the decoded bytes.
    static SmartPtr<MemStream> unescapeBinary(const char* text);

    static int roundCapacity(int n) { return (n & ~3) + 4; }

private:
    static void allocBuffer(char*& buffer, int size);
    bool insideBuffer(const char* p) const;

    char* m_pData = nullptr;
    int32_t m_nCapacity = -1;
};

String operator+(const String& a, const String& b);
String operator+(const String& a, const char* b);
String operator+(const char* a, const String& b);

// Reflected comparisons with a C string on the left.
inline bool operator==(const char* a, const String& b) { return b == a; }
inline bool operator!=(const char* a, const String& b) { return b != a; }
inline bool operator<(const char* a, const String& b) { return b > a; }
inline bool operator>(const char* a, const String& b) { return b < a; }
inline bool operator<=(const char* a, const String& b) { return b >= a; }
inline bool operator>=(const char* a, const String& b) { return b <= a; }

}  // namespace Zep
