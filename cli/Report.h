#pragma once

#include <string>

#include "MessageSink.h"

// "quire: WHAT: WHY" on standard error, unless quiet; both return exit status 1.
int FailOn(const std::string& what, const std::string& why);
int Fail(const std::string& why);
// The writer's messages, as the tool prints them.
CMessageSink& PrintedMessages();
// For -q: failures are told by the exit status alone.
void SetQuiet(bool quiet);
