// A window that takes the executor's requests and does nothing with them: for tests of playback,
// where no request comes.
#pragma once

#include "actions/host_request.h"

struct NoWindow : HostRequestPort {
    void Post(HostRequest) override {}
};
