// Feeds arbitrary bytes to the date-time parser as the text of a time box.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "datetext_properties.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // An edit box's text ends at its first zero byte; bytes after one are never seen.
    const std::string text(reinterpret_cast<const char*>(data), size);
    const std::string violation = DateTextPropertyViolation(text.c_str());
    if (!violation.empty()) {
        std::fprintf(stderr, "%s\n", violation.c_str());
        std::abort();
    }
    return 0;
}
