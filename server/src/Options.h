#pragma once
// The command line of sorvik-server.

#include <QStringList>
#include <string>

#include "Server.h"

namespace sorvik::server {

struct ParsedOptions {
    ServerOptions server;
    bool ok = true;
    bool help = false;
    std::string error;
    std::string usage;
};

ParsedOptions ParseOptions(const QStringList& arguments);

}  // namespace sorvik::server
