// Replays the fuzzer's seed corpus through the properties that the fuzzer checks.
#include <string>

#include <gtest/gtest.h>

#include "corpus_cases.h"
#include "datetext_properties.h"

namespace {

TEST(FuzzCorpusReplay, EveryCaseKeepsTheFuzzProperties) {
    ASSERT_FALSE(CorpusCases().empty());
    for (const CorpusCase& corpusCase : CorpusCases()) {
        SCOPED_TRACE(corpusCase.name);
        // As the fuzzer does: the text ends at its first zero byte.
        const std::string text(corpusCase.bytes);
        EXPECT_EQ(DateTextPropertyViolation(text.c_str()), "");
    }
}

}  // namespace
