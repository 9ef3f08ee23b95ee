#pragma once

#include <ostream>

#include "app/CommandLine.h"

namespace kelvane {

// Runs --sync or --history (CommandLine::Action::Sync, History) and returns the exit status:
//   --sync     0 nothing waits any more (also: nothing waited), 1 records still wait (the
//              server could not be reached, or refused some: said on `err`), 2 a usage error
//              (the journal cannot be opened, the server holds a newer layout), 4 standard
//              output could not be written;
//   --history  0 printed, 1 the server could not be reached or a query failed, 2 the database
//              is not there, not Kelvane's or of a newer layout, 4 standard output could not be
//              written.
// A build without the databases refuses both before this (DatabaseOptions::kAvailable).
int RunDatabaseCommand(const CommandLine& commandLine, std::ostream& out, std::ostream& err);

}  // namespace kelvane
