#pragma once

// Keeps Ctrl+C (SIGINT) from ending the launcher while the program it started runs. The
// program itself gets the default disposition back when it is executed, so it still hears
// Ctrl+C from the terminal and decides for itself; the launcher then reports how it ended.
void ShieldFromInterrupts();
