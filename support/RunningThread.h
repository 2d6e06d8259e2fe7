// The worker guard: at most one worker operation runs at a time.
//
// The guard is taken before a worker thread starts, atomically, so two commands issued in the same
// tick (the host's erase event and the tick's own delete command) cannot both pass it.
#pragma once

// Takes the guard; false when a worker already holds it.
bool tryAcquireRunningThread();
// Releases the guard; the worker's last act.
void releaseRunningThread();
// True while a worker runs (gRunningThread).
bool isRunningThread();
