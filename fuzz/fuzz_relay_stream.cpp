// libFuzzer target: any bytes from the video relay. The stream is cut into messages, and
// every frame a peer sends goes to a video display, as the table draws it.

#include <QApplication>
#include <cstdint>

#include "video/VideoDisplay.h"
#include "video/core/RelayProtocol.h"

using namespace sorvik;

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    new QApplication(*argc, *argv);  // kept for the whole run
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static VideoDisplay& display = *new VideoDisplay(nullptr);
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    // The bytes as one frame, as a peer's picture arrives.
    display.ShowFrame(bytes);
    // The bytes as the relay's stream, in chunks of 1..64 bytes.
    relay::Reader reader;
    const size_t chunk = size ? 1 + data[0] % 64 : 1;
    for (size_t at = 0; at < size && !reader.Bad(); at += chunk) {
        reader.Append(bytes.mid(static_cast<qsizetype>(at), static_cast<qsizetype>(chunk)));
        while (auto m = reader.Next())
            if (m->type == relay::kReceived && m->kind == relay::kFrame) display.ShowFrame(m->bytes);
    }
    return 0;
}
