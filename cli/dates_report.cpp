#include "dates_report.h"

#include "analysis_period.h"
#include "busyscope_version.h"
#include "display_text.h"
#include "local_time.h"
#include "report_writer.h"
#include "stamp_store.h"
#include "text_escape.h"

#include <ostream>
#include <string>
#include <vector>

namespace {

// "37 files", "1 commit", "12 minutes".
std::string CountText(std::int64_t count, const CPeriodHistograms& histograms, RecordKind kind) {
    if (histograms.m_countRule == CountRule::ActiveMinutes)
        return CountOf(count, "minute", "minutes");
    return CountOf(count, RecordNoun(kind, 1), RecordNoun(kind));
}

void WriteSummary(std::ostream& out, const CStampStore& store, const CPeriodHistograms& histograms,
                  const std::vector<DayCount>& days) {
    out << DisplayText(FormatAnalysisTitle(store.m_nFiles, store.GetFolder(), histograms, store.Kind()))
        << '\n';
    const std::optional<DaysSummary> summary = SummariseDays(days);
    if (!summary) {
        out << "dates: no " << RecordNoun(store.Kind()) << '\n';
        return;
    }
    out << "busiest day: " << DayName(summary->busiestDay.day) << ", "
        << CountText(summary->busiestDay.count, histograms, store.Kind()) << '\n'
        << "busiest week: " << DayName(summary->busiestWeek.day) << " to "
        << DayName(summary->busiestWeek.day + 6) << ", "
        << CountText(summary->busiestWeek.count, histograms, store.Kind()) << '\n'
        << "active days: " << summary->activeDays << '\n';
}

void WriteCsv(std::ostream& out, const std::vector<DayCount>& days) {
    out << "date,count\n";
    for (const DayCount& day : days)
        out << IsoDate(day.day) << ',' << day.count << '\n';
}

void WriteJson(std::ostream& out, const CStampStore& store, const CPeriodHistograms& histograms,
               const std::vector<DayCount>& days) {
    const std::optional<DaysSummary> summary = SummariseDays(days);
    const auto dayObject = [](const char* name, const DayCount& day) {
        return std::string("{\"") + name + "\": " + JsonQuote(IsoDate(day.day)) +
               ", \"count\": " + std::to_string(day.count) + "}";
    };
    out << "{\n"
        << "  \"version\": " << JsonQuote(kBusyscopeVersion) << ",\n"
        << "  \"timeZone\": " << JsonQuote(LocalZoneName()) << ",\n"
        << "  \"folder\": " << JsonQuote(store.GetFolder()) << ",\n"
        << "  \"files\": " << store.m_nFiles << ",\n"
        << "  \"count\": " << (histograms.m_countRule == CountRule::Files ? "\"files\"" : "\"minutes\"")
        << ",\n"
        << "  \"view\": " << JsonQuote(kDatesViewName) << ",\n"
        << "  \"busiestDay\": " << (summary ? dayObject("date", summary->busiestDay) : "null") << ",\n"
        << "  \"busiestWeek\": " << (summary ? dayObject("start", summary->busiestWeek) : "null") << ",\n"
        << "  \"activeDays\": " << (summary ? summary->activeDays : 0) << ",\n"
        << "  \"days\": [";
    const char* separator = "\n";
    for (const DayCount& day : days) {
        out << separator << "    " << dayObject("date", day);
        separator = ",\n";
    }
    out << "\n  ]\n}\n";
}

} // namespace

void WriteDatesReport(std::ostream& out, ReportFormat format, const CStampStore& store,
                      const CPeriodHistograms& histograms, RecordEnd timesEnd) {
    switch (format) {
    case ReportFormat::Summary:
        WriteSummary(out, store, histograms, CountByDay(store, histograms.m_countRule));
        break;
    case ReportFormat::Csv:
        WriteCsv(out, CountByDay(store, histograms.m_countRule));
        break;
    case ReportFormat::Json:
        WriteJson(out, store, histograms, CountByDay(store, histograms.m_countRule));
        break;
    case ReportFormat::Times:
        WriteTimes(out, store, histograms.m_countRule, timesEnd);
        break;
    }
}
