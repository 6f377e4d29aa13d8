#pragma once
// An attach that a program waits for only so long. The embedded engine waits, without end and
// without a way to cancel it, for another program that holds its lock files; the attach runs on a
// thread of its own so that the program can give up on it.
#include "catalogue/CatalogueSession.h"

#include <chrono>

namespace catalogue {

// Connects the session and starts its transaction (CatalogueSession::Open) on a thread of its own,
// waiting for it at most `wait`. True once open; the attach's CatalogueError is thrown here. False
// when the wait passed: the attach goes on on its thread, still using the session, so the caller
// must leave the session alone from then on and end the process without its exit handlers
// (exit_guard::EndNow), which the engine's shutdown would hold.
bool AttachInTime(CatalogueSession& session, std::chrono::milliseconds wait);

} // namespace catalogue
