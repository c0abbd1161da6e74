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
    const auto* contents = std::get_if<pesterly::ExchangeContents>(&parsed);
    if (contents == nullptr) {
        if (std::get<pesterly::Error>(parsed).message.empty()) {
            Fail("an error without a message");
        }
        return 0;
    }
    const std::vector<Happening>& events = contents->events;
    const std::string written = pesterly::WriteExchangeFile(events);
    const auto reparsed = pesterly::ParseExchangeFile(written);
    const auto* again = std::get_if<pesterly::ExchangeContents>(&reparsed);
    if (again == nullptr) {
        std::fprintf(stderr, "%s\n", std::get<pesterly::Error>(reparsed).message.c_str());
        Fail("the written file does not read back");
    }
    if (again->events != events || again->ignored_from_line != 0) {
        Fail("the written file reads back to other events");
    }
    if (pesterly::WriteExchangeFile(again->events) != written) {
        Fail("writing the same events twice gives different files");
    }
    return 0;
}
