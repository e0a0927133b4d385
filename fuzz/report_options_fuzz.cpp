// Any argument vector of busyscope-report: a one-line error, or options the report can run
// with; in that case the chosen report of an empty analysis is written.
#include "fuzz_check.h"
#include "period_histograms.h"
#include "report_options.h"
#include "report_writer.h"
#include "stamp_store.h"
#include "text_escape.h"

#include <cmath>
#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

namespace {

void WriteReport(const ReportOptions& options) {
    static const CStampStore store;
    static const CPeriodHistograms histograms = [] {
        CPeriodHistograms rebuilt;
        rebuilt.RebuildHistograms(store);
        return rebuilt;
    }();
    std::ostringstream out;
    WriteReport(out, options.format, store, histograms, options.views, options.averagingPosition);
    Require(!out.str().empty() || options.format == ReportFormat::Times, "a report is written");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // Arguments are separated by NUL bytes, as they are in memory.
    std::vector<std::string> arguments;
    const char* text = reinterpret_cast<const char*>(data);
    std::size_t start = 0;
    for (std::size_t i = 0; i <= size; ++i) {
        if (i == size || text[i] == '\0') {
            if (i > start || i < size)
                arguments.emplace_back(text + start, i - start);
            start = i + 1;
        }
    }

    const ParsedReportOptions parsed = ParseReportOptions(arguments);
    if (!parsed.error.empty()) {
        for (const char c : DisplayText(parsed.error))
            Require(static_cast<unsigned char>(c) >= 0x20 && c != 0x7F, "the error is one printable line");
        return 0;
    }
    const ReportOptions& options = parsed.options;
    if (options.help) {
        Require(!ReportUsage().empty(), "help has a text");
        return 0;
    }
    Require(!options.views.empty(), "some view is chosen");
    for (const int view : options.views)
        Require(view >= 0 && view <= 3, "views are 0 to 3");
    Require(options.width >= 1 && options.width <= 8192 && options.height >= 1 && options.height <= 8192,
            "picture size within 1 to 8192");
    Require(options.averagingPosition >= 0 && options.averagingPosition <= 100, "slider position 0 to 100");
    Require(std::isfinite(options.xOffset) && std::abs(options.xOffset) <= 1e6,
            "offset within a million bins");
    Require(options.yScale >= 1 && options.yScale <= 999, "scale within 1 to 999");
    Require(!options.pngFile || !options.pngFile->empty(), "a picture has a file name");
    WriteReport(options);
    return 0;
}
