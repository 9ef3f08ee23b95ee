#pragma once

#include <cstddef>
#include <string>

#include "store/Journal.h"
#include "store/postgres/LineServer.h"

namespace kelvane {

// Sends what waits in the journal for a server, oldest first, each record marked sent only after
// the server committed it.
class JournalUpload {
public:
    struct Count {
        std::size_t uploaded = 0;  // committed on the server by this upload
        std::size_t waiting = 0;   // still waiting afterwards
        // Why records still wait (the server went, refused one, the journal failed); empty when
        // none waits.
        std::string failure;
    };

    // Both must outlive the upload.
    JournalUpload(Journal& journal, LineServer& server) : journal_(journal), server_(server) {}

    // Uploads over the server's connection (which must stand). A record that the server refuses
    // stays waiting and the others go on; a lost connection ends the upload.
    Count Run();

private:
    Journal& journal_;
    LineServer& server_;
};

}  // namespace kelvane
