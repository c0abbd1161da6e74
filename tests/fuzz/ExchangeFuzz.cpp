// Feeds arbitrary bytes to the exchange file reader. Besides not crashing, whatever it accepts
// must survive the export: written again and read again it gives the same events, and writing
// those gives the same file.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "exchange/ExchangeFile.h"

namespace {

[[noreturn]] void Fail(const char* what) {
    std::fprintf(stderr, "exchange round trip broken: %s\n", what);
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using pesterly::Happening;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const auto parsed = pesterly::ParseExchangeFile(bytes);
    if (!parsed) {
        if (parsed.error().message.empty()) {
            Fail("an error without a message");
        }
        return 0;
    }
    const std::vector<Happening>& events = parsed->events;
    const std::string written = pesterly::WriteExchangeFile(events);
    const auto reparsed = pesterly::ParseExchangeFile(written);
    if (!reparsed) {
        std::fprintf(stderr, "%s\n", reparsed.error().message.c_str());
        Fail("the written file does not read back");
    }
    if (reparsed->events != events || reparsed->ignored_from_line != 0) {
        Fail("the written file reads back to other events");
    }
    if (pesterly::WriteExchangeFile(reparsed->events) != written) {
        Fail("writing the same events twice gives different files");
    }
    return 0;
}
