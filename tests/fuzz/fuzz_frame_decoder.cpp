// libFuzzer target for the frame decoder, fed as a session feeds it: frame after frame from one
// byte stream. Whatever decodes must encode again to a frame that decodes to the same message.
#include "db/Protocol.h"

#include <cstdint>
#include <cstdlib>

using namespace dudodu::protocol;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    constexpr qsizetype kMax = 1024 * 1024;
    QByteArrayView rest(reinterpret_cast<const char*>(data), qsizetype(size));
    for (;;) {
        const Decoded decoded = decodeFrame(rest, kMax);
        if (decoded.status != Decoded::Status::Frame) break;
        if (decoded.consumed <= 0 || decoded.consumed > rest.size()) std::abort();
        const QByteArray again = encodeFrame(decoded.message, 64);
        const Decoded second = decodeFrame(again, 64 * kMax);
        if (second.status != Decoded::Status::Frame || encodeFrame(second.message, 64) != again) std::abort();
        rest = rest.sliced(decoded.consumed);
    }
    return 0;
}
