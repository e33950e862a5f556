#pragma once

// Time the program needs to make its windows and run its start-up steps.
void benchStartup();
