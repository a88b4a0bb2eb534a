#pragma once

// Keeps Ctrl+C (SIGINT) from ending the launcher while the program it started runs. The
// program itself gets the default disposition back when it is executed, so it still hears
// Ctrl+C from the terminal and decides for itself; the launcher then reports how it ended.
// A launcher started with Ctrl+C ignored (a background job of a script) leaves it ignored,
// so the program cannot be interrupted either, as its caller asked.
void ShieldFromInterrupts();
