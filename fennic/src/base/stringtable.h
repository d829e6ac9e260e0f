// The string tables: key (upper case) to text, their readers, and the
// installed languages.
//
// The text form has one entry per line ("KEY text", "#" comments, "\#" for a
// literal "#", escapes \n \r \t \\, "." lines continuing the previous entry);
// the XML form is a spreadsheet whose rows hold a key cell and a text cell.
// Both add to the table: a key that comes again gets the later text.
#pragma once

#include <zep2/hash.h>
#include <zep2/list.h>
#include <zep2/str.h>

void readStringTableText(const Zep::String& sText, Zep::Hash<Zep::String, Zep::String>& hTable);
void readStringTableXml(const Zep::String& sText, Zep::Hash<Zep::String, Zep::String>& hTable);

// The texts of every table added, looked up by key without regard to case.
//
// The installed languages are the ".dat" files of the program's folder whose
// names hold a "_": the language code is the part after the last "_"
// ("lang_en.dat" is "en"), and a code's archives come in name order.
class StringTables {
public:
    // Reads a table into the texts: a name ending in ".xml" (any case) is the
    // XML form, any other the text form.
    void add(const char* szName, const Zep::String& sText);
    // The stored text, or the key pointer itself when it is missing.
    const char* getText(const char* szKey) const;
    bool hasText(const char* szKey) const;
    Zep::List<Zep::String> getNames() const { return m_hTexts.getKeys(); }

    // The first preferred code installed, else the first installed code in
    // the table's key order, else empty.
    static Zep::String selectLanguage(const Zep::List<Zep::String>& lPreferred);
    // The selected language's archives, or its code; both throw
    // FatalErrorException "No installed languages found" when there is none.
    static Zep::List<Zep::String> getLanguageFiles(const Zep::List<Zep::String>& lPreferred);
    static Zep::String getLanguage(const Zep::List<Zep::String>& lPreferred);

private:
    Zep::Hash<Zep::String, Zep::String> m_hTexts;
};
