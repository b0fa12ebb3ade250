#pragma once

#include <functional>

// The procedure container: language libraries loaded on demand by parts of
// the program register how to release them; ResetProcContainer releases them
// all (at the end of the run and when the user flushes that cache).
int RegisterProcContainer(std::function<void()> reset);
void UnregisterProcContainer(int id);
void ResetProcContainer();
