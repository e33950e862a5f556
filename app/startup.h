#pragma once

// Creates the single instances of the program in their order (main window,
// splash, data module, settings, ..., information window), each once.
void createApplicationObjects();

// Destroys them again, the last made first.
void destroyApplicationObjects();
