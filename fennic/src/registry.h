// Start-up helper of the resource registry.
#pragma once

class GameApp;

// Writes the resource and string-name listings into the log when the
// environment variable TUK_LIST_RESOURCES is exactly "TRUE"; true when it did.
bool listResourcesIfRequested(GameApp& app);
