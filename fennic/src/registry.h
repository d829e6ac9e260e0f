// The registry's listings: a start-up helper and the titled name listing the
// resource and string-name dumps share.
#pragma once

#include <zep2/list.h>
#include <zep2/str.h>

class GameApp;

// Writes the resource and string-name listings into the log when the
// environment variable TUK_LIST_RESOURCES is exactly "TRUE"; true when it did.
bool listResourcesIfRequested(GameApp& app);

// Logs "U: ----- <title> -----", then "U: <name>" for each name, then "U: "
// and a rule of dashes as long as the title line.
void logNameListing(const char* szTitle, const Zep::List<Zep::String>& lNames);
