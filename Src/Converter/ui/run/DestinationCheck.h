// DestinationCheck: whether pictures can be saved in the destination folder, asked before a
// run starts rather than found on every row. A folder that exists must take a new file (a
// short-lived probe file is made and removed); a folder that does not exist yet must be
// creatable: its nearest existing ancestor must be a folder that takes new entries. The
// problem comes as a message with the system's reason and what to do.
#pragma once

#include <string>

struct DestinationCheck {
  enum State { Ready, Missing, Unusable } state = Ready;
  std::string message;  // for Unusable
};

DestinationCheck CheckDestination(const std::string& folder);
