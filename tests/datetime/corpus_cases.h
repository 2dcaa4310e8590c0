// The fuzzer's seed corpus, compiled into the tests so that they replay it without files
// (the Windows build runs under Wine, far from the source tree).
#pragma once

#include <span>
#include <string_view>

struct CorpusCase {
    const char* name;        // the file's name in the corpus
    std::string_view bytes;  // its whole content, zero bytes included
};

std::span<const CorpusCase> CorpusCases();
