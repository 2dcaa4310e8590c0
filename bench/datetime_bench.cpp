// Speed of the date-time value and its text form, beside the C library's own conversions
// (strptime + timegm, gmtime_r + strftime) on the same moments written in ASCII.
#include <time.h>

#include <ctime>
#include <cstdint>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "datetext.h"

namespace {

constexpr std::size_t kSpread = 4096;

// Fields spread over the whole range, every field in its valid range.
const std::vector<CalendarFields>& SpreadFields() {
    static const std::vector<CalendarFields> fields = [] {
        std::mt19937 random(20130905);
        std::vector<CalendarFields> spread;
        for (std::size_t i = 0; i < kSpread; ++i) {
            const auto year = std::uniform_int_distribution<std::int32_t>(100, 9999)(random);
            const auto month = std::uniform_int_distribution<std::int32_t>(1, 12)(random);
            const auto day = std::uniform_int_distribution<std::int32_t>(1, MonthLength(year, month))(random);
            spread.push_back({year, month, day, std::uniform_int_distribution<std::int32_t>(0, 23)(random),
                              std::uniform_int_distribution<std::int32_t>(0, 59)(random),
                              std::uniform_int_distribution<std::int32_t>(0, 59)(random)});
        }
        return spread;
    }();
    return fields;
}

const std::vector<DateTime>& SpreadValues() {
    static const std::vector<DateTime> values = [] {
        std::vector<DateTime> spread;
        for (const CalendarFields& fields : SpreadFields()) spread.push_back(MakeDateTime(fields));
        return spread;
    }();
    return values;
}

void BM_MakeDateTime(benchmark::State& state) {
    const std::vector<CalendarFields>& fields = SpreadFields();
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(MakeDateTime(fields[i++ % kSpread]));
    }
}
BENCHMARK(BM_MakeDateTime);

void BM_SplitDateTime(benchmark::State& state) {
    const std::vector<DateTime>& values = SpreadValues();
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(SplitDateTime(values[i++ % kSpread]));
    }
}
BENCHMARK(BM_SplitDateTime);

// ---- Parsing: each of our texts beside the same moment in ASCII for strptime.

struct ParseCase {
    const char* label;
    const char* text;        // what the time box holds
    const char* asciiText;   // the same moment for strptime
    const char* asciiFormat;
};

constexpr ParseCase kParseCases[] = {
    {"units full", "2013年9月5日14时6分5秒", "2013-9-5 14:6:5", "%Y-%m-%d %H:%M:%S"},
    {"units date", "2013年9月5日", "2013-9-5", "%Y-%m-%d"},
    {"ascii padded", "2013-09-05 14:06:05", "2013-09-05 14:06:05", "%Y-%m-%d %H:%M:%S"},
    {"digit run", "20130905143005", "20130905143005", "%Y%m%d%H%M%S"},
    {"full-width", "２０１３－０９－０５　１４：０６：０５", "2013-09-05 14:06:05", "%Y-%m-%d %H:%M:%S"},
    {"rejected", "2013-2-29", "2013-2-29", "%Y-%m-%d"},
};

void BM_TextToDateTime(benchmark::State& state) {
    const ParseCase& parseCase = kParseCases[state.range(0)];
    state.SetLabel(parseCase.label);
    for (auto _ : state) {
        benchmark::DoNotOptimize(TextToDateTime(parseCase.text));
    }
}
BENCHMARK(BM_TextToDateTime)->DenseRange(0, std::size(kParseCases) - 1);

void BM_StrptimeTimegm(benchmark::State& state) {
    const ParseCase& parseCase = kParseCases[state.range(0)];
    state.SetLabel(parseCase.label);
    for (auto _ : state) {
        std::tm fields{};
        benchmark::DoNotOptimize(strptime(parseCase.asciiText, parseCase.asciiFormat, &fields));
        benchmark::DoNotOptimize(timegm(&fields));
    }
}
BENCHMARK(BM_StrptimeTimegm)->DenseRange(0, std::size(kParseCases) - 1);

// ---- Formatting: a value to a new text, beside a time_t to a new text.

void BM_DateTimeToText(benchmark::State& state) {
    const std::vector<DateTime>& values = SpreadValues();
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(DateTimeToText(values[i++ % kSpread]));
    }
}
BENCHMARK(BM_DateTimeToText);

void BM_GmtimeStrftime(benchmark::State& state) {
    std::vector<std::time_t> seconds;
    for (const CalendarFields& f : SpreadFields()) {
        std::tm fields{};
        fields.tm_year = f.year - 1900;
        fields.tm_mon = f.month - 1;
        fields.tm_mday = f.day;
        fields.tm_hour = f.hour;
        fields.tm_min = f.minute;
        fields.tm_sec = f.second;
        seconds.push_back(timegm(&fields));
    }
    std::size_t i = 0;
    for (auto _ : state) {
        std::tm fields;
        gmtime_r(&seconds[i++ % kSpread], &fields);
        char text[32];
        const std::size_t length = std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &fields);
        benchmark::DoNotOptimize(std::string(text, length));
    }
}
BENCHMARK(BM_GmtimeStrftime);

// strftime alone, from fields already split, the cheapest form of the C library's formatting.
void BM_Strftime(benchmark::State& state) {
    std::tm fields{};
    fields.tm_year = 2013 - 1900;
    fields.tm_mon = 8;
    fields.tm_mday = 5;
    fields.tm_hour = 14;
    fields.tm_min = 6;
    fields.tm_sec = 5;
    for (auto _ : state) {
        char text[32];
        benchmark::DoNotOptimize(std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &fields));
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_Strftime);

// ---- Long input: time grows with the length, never faster.

void ParseRepeated(benchmark::State& state, char filler) {
    const std::string text(static_cast<std::size_t>(state.range(0)), filler);
    for (auto _ : state) {
        benchmark::DoNotOptimize(TextToDateTime(text.c_str()));
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * state.range(0));
    state.SetComplexityN(state.range(0));
}

void BM_ParseDigits(benchmark::State& state) { ParseRepeated(state, '1'); }
BENCHMARK(BM_ParseDigits)->RangeMultiplier(8)->Range(1 << 10, 1 << 20)->Complexity(benchmark::oN);

void BM_ParseSeparators(benchmark::State& state) { ParseRepeated(state, '-'); }
BENCHMARK(BM_ParseSeparators)->RangeMultiplier(8)->Range(1 << 10, 1 << 20)->Complexity(benchmark::oN);

}  // namespace

BENCHMARK_MAIN();
