// Runs work on the user-interface thread and waits for it: how a worker asks a question.
#pragma once

#include <functional>

// True when the calling thread is the application's user-interface thread.
bool isUiThread();

// Runs work on the user-interface thread: at once when called there, otherwise queued to it while
// the calling thread blocks until the work has run. false (work not run) when there is no
// application object. The user-interface thread must not be waiting for the caller meanwhile.
bool runOnUiThread(const std::function<void()>& work);
