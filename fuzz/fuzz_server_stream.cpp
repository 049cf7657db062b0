// libFuzzer target: any bytes from the server, in any chunking, reach a logged-in client.
// The input's first byte picks the chunk size; the rest is the stream. A controlled end of
// the program (the lobby restored, the process ended) is an accepted outcome; anything else
// the sanitizers flag is a finding.

#include <QApplication>
#include <cstdint>
#include <memory>

#include "ClientHarness.h"

using namespace sorvik;
using namespace sorvik::test;

namespace {

std::unique_ptr<ClientHarness> LoggedIn() {
    auto h = std::make_unique<ClientHarness>();
    h->Start();
    h->LogIn();
    // Seat the local player so the hand handlers have a table to work on.
    h->client->DispatchFrame(UserInfoFrame(1, Player{1, "me", "Me"}));
    return h;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Kept for the whole run and never destroyed: the process ends inside libFuzzer.
    new QApplication(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    static std::unique_ptr<ClientHarness>& h = *new std::unique_ptr<ClientHarness>(LoggedIn());
    const size_t chunk = 1 + data[0] % 300;
    bool ended = !h->Call([&] {
        for (size_t at = 1; at < size; at += chunk) {
            h->socket.Deliver(data + at, std::min(chunk, size - at));
            h->loop.RunFor(0.1);
        }
        h->loop.RunFor(2);
    });
    if (ended) h = LoggedIn();  // the program ended the controlled way: start a fresh one
    return 0;
}
