// Feeds arbitrary bytes to the settings file reader, as a file and as a value. Besides not
// crashing: every value the program saves reads back the same, whatever the file around it
// holds, and a file read and written again reads the same a second time.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "store/IniText.h"
#include "store/TextEncoding.h"

namespace {

[[noreturn]] void Fail(const char* what) {
    std::fprintf(stderr, "settings round trip broken: %s\n", what);
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    namespace ini = pesterly::ini;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    if (ini::ReadValue(ini::EscapeValue(bytes)) != bytes) {
        Fail("a saved value reads back otherwise");
    }
    ini::Document doc = ini::Document::Parse(bytes);
    const std::string once = doc.Serialize();
    if (ini::Document::Parse(once).Serialize() != once) {
        Fail("a file written again changes again");
    }
    const std::string value = pesterly::encoding::AsUtf8(bytes.substr(0, 200));
    doc.Set("Events", "EDesc0", value);
    doc.Set("Events", "EDesc1", "after");
    const ini::Document again = ini::Document::Parse(doc.Serialize());
    const std::string* read = again.Find("events", "edesc0");
    if (read == nullptr || *read != value) {
        Fail("a saved value is lost in the file");
    }
    if (again.Find("Events", "EDesc1") == nullptr || *again.Find("Events", "EDesc1") != "after") {
        Fail("a later value is lost in the file");
    }
    return 0;
}
