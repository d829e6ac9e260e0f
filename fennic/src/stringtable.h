// Readers of string tables: key (upper case) to text.
//
// The text form has one entry per line ("KEY text", "#" comments, "\#" for a
// literal "#", escapes \n \r \t \\, "." lines continuing the previous entry);
// the XML form is a spreadsheet whose rows hold a key cell and a text cell.
// Both add to the table: a key that comes again gets the later text.
#pragma once

#include <zep2/hash.h>
#include <zep2/str.h>

void readStringTableText(const Zep::String& sText, Zep::Hash<Zep::String, Zep::String>& hTable);
void readStringTableXml(const Zep::String& sText, Zep::Hash<Zep::String, Zep::String>& hTable);
